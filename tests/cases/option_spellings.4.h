const uint8_t option_spellings[] = {
// ORIGIN 0x100x
LDADDR(1),
END
};

// Code Size:  4 bytes
