const uint8_t header_link_dangling[] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
