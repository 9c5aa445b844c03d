const uint8_t typeof[] = {
// ORIGIN 0x4000
ADDREGS,
END
};

// Code Size:  2 bytes
