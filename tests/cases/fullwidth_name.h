const uint8_t ｐｒｏｇ[] = {
// ORIGIN 10
ADDREGS,
END
};

// Code Size:  1 bytes
