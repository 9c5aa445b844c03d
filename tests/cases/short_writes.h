const uint8_t short_writes[] = {
// Faults at the system calls: writes interrupted and cut short
// ORIGIN 0x100
WRREG8(AREG7_0, 1),
// REGRD16BI(AREG15_0) expansion
LDADDR(0x00011F),           // Fill in RDREG16(AREG15_0, 0) second parameter
WRREG8(BREG7_0, 0x1F),
LDADDR(0x00011B),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x1B),
LDADDR(0x00011C),
WRREG8(BREG23_16, 0x1C),
LDADDR(0x00011D),
WRREG8(BREG31_24, 0x1D),
LDADDR(0),		/* <- dummy 0 value */
RDREG16(AREG15_0, 0),	/* <- dummy 0 value */

LDADDR(0x20),
END
};

// Code Size:  37 bytes
