const uint8_t [] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
