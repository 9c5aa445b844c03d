const uint8_t cr_anywhere[] = {
// ORIGIN 0
ADDREGS,

END
};

// Code Size:  1 bytes
