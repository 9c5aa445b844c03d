const uint8_t header_mode_new[] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
