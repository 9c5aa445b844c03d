const uint8_t option_output[] = {
// ORIGIN 0x4000
ADDREGS,
END
};

// Code Size:  2 bytes
