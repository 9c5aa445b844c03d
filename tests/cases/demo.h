const uint8_t demo[] = {
// Demo program
// ORIGIN 0x4000
WRREG8(AREG7_0, 0x12),  // store

// REGRD16BI(AREG15_0) expansion
LDADDR(0x00401F),           // Fill in RDREG16(AREG15_0, 0) second parameter
WRREG8(BREG7_0, 0x1F),
LDADDR(0x00401B),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x1B),
LDADDR(0x00401C),
WRREG8(BREG23_16, 0x1C),
LDADDR(0x00401D),
WRREG8(BREG31_24, 0x1D),
LDADDR(0),		/* <- dummy 0 value */
RDREG16(AREG15_0, 0),	/* <- dummy 0 value */

END
};

// Code Size:  33 bytes
