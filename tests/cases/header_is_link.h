const uint8_t header_is_link[] = {
// ORIGIN 10
ADDREGS,
END
};

// Code Size:  1 bytes
