const uint8_t byte_ff_is_ordinary[] = {
// ORIGIN 0 ÿ
ADDREGS, // ÿþ
END
};

// Code Size:  1 bytes
