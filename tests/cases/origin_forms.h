const uint8_t origin_forms[] = {
// ORIGIN	+0X00000009aF;
BCDCONV,
END
};

// Code Size:  1 bytes
