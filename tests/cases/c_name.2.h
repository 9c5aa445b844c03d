const uint8_t _2nd[] = {
// ORIGIN 0x100
LDADDR(1),
END
};

// Code Size:  4 bytes
