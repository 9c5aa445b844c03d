const uint8_t origin_forms[] = {
// ORIGIN	+0X00000000fF;
BCDCONV,
END
};

// Code Size:  1 bytes
