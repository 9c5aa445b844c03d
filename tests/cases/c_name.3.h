const uint8_t y[] = {
// ORIGIN 0x100
LDADDR(1),
END
};

// Code Size:  4 bytes
