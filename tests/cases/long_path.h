const uint8_t prog[] = {
// ORIGIN 10
ADDREGS,
END
};

// Code Size:  1 bytes
