const uint8_t addresses_wrap[] = {
///ORIGIN-0x10

// REGRD8BI(AREG31_24) expansion
LDADDR(0x00000D),           // Fill in RDREG8(AREG31_24, 0) second parameter
WRREG8(BREG7_0, 0x0D),
LDADDR(0x000009),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x09),
LDADDR(0x00000A),
WRREG8(BREG23_16, 0x0A),
LDADDR(0x00000B),
WRREG8(BREG31_24, 0x0B),
LDADDR(0),		/* <- dummy 0 value */
RDREG8(AREG31_24, 0),	/* <- dummy 0 value */
LDADDR(1),
END
};

// Code Size:  34 bytes
