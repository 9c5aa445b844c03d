const uint8_t options[] = {
// ORIGIN 0x4000
ADDREGS,
END
};

// Code Size:  2 bytes
