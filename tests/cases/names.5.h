const uint8_t long_name[] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
