const uint8_t zZ_09[] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
