const uint8_t rtc_wake[] = {
// ORIGIN 0x100
LDADDR(1),
END
};

// Code Size:  4 bytes
