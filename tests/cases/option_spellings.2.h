const uint8_t wide[] = {
// ORIGIN 0x100x
LDADDR(1),
END
};

// Code Size:  4 bytes
