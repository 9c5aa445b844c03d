const uint8_t dup[] = {
// ORIGIN 0x100
// LABEL twice
ADDREGS,
// LABEL twice
END
};

// Code Size:  2 bytes
