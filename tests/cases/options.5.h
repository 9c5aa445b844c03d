const uint8_t my_array[] = {
// ORIGIN 0x4000
ADDREGS,
END
};

// Code Size:  2 bytes
