const uint8_t my_prog[] = {
// ORIGIN 0x4000
BCDCONV,
ADDREGS,
END
};

// Code Size:  2 bytes
