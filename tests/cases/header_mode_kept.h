const uint8_t header_mode_kept[] = {
// ORIGIN 10
ADDREGS,
END
};

// Code Size:  1 bytes
