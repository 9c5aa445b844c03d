const uint8_t attached[] = {
// ORIGIN 0x100x
LDADDR(1),
END
};

// Code Size:  4 bytes
