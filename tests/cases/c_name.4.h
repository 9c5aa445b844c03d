const uint8_t pr__g[] = {
// ORIGIN 0x100
LDADDR(1),
END
};

// Code Size:  4 bytes
