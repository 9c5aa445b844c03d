const uint8_t foreign_outputs[] = {
// ORIGIN 0x100
LDADDR(1),
END
};

// Code Size:  4 bytes
