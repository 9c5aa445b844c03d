const uint8_t LDADDR[] = {
// ORIGIN 0x4000
ADDREGS,
END
};

// Code Size:  2 bytes
