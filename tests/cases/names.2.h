const uint8_t a-b[] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
