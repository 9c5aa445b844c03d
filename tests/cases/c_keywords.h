const uint8_t int[] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
