const uint8_t header_owner_kept[] = {
// ORIGIN 0
ADDREGS,
END
};

// Code Size:  1 bytes
