const uint8_t default[] = {
// ORIGIN 0x4000
ADDREGS,
END
};

// Code Size:  2 bytes
