const uint8_t expansion_blocks[] = {
// ORIGIN F0

// REGWR8BI(AREG23_16) expansion
LDADDR(0x00010D),           // Fill in WRREG8(AREG23_16, 0) second parameter
WRREG8(BREG7_0, 0x0D),
LDADDR(0x000109),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x09),
LDADDR(0x00010A),
WRREG8(BREG23_16, 0x0A),
LDADDR(0x00010B),
WRREG8(BREG31_24, 0x0B),
LDADDR(0),		/* <- dummy 0 value */
WRREG8(AREG23_16, 0),	/* <- dummy 0 value */

// REGWR16BI(AREG31_16) expansion
LDADDR(0x00012B),           // Fill in WRREG16(AREG31_16, 0) second parameter
WRREG8(BREG7_0, 0x2B),
LDADDR(0x000127),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x27),
LDADDR(0x000128),
WRREG8(BREG23_16, 0x28),
LDADDR(0x000129),
WRREG8(BREG31_24, 0x29),
LDADDR(0),		/* <- dummy 0 value */
WRREG16(AREG31_16, 0),	/* <- dummy 0 value */


// REGWR32BI(AREG31_0) expansion
LDADDR(0x000149),           // Fill in WRREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x49),
LDADDR(0x000145),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x45),
LDADDR(0x000146),
WRREG8(BREG23_16, 0x46),
LDADDR(0x000147),
WRREG8(BREG31_24, 0x47),
LDADDR(0),		/* <- dummy 0 value */
WRREG32(AREG31_0, 0),	/* <- dummy 0 value */


// REGRD32BI(AREG31_0) expansion
LDADDR(0x000167),           // Fill in RDREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x67),
LDADDR(0x000163),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x63),
LDADDR(0x000164),
WRREG8(BREG23_16, 0x64),
LDADDR(0x000165),
WRREG8(BREG31_24, 0x65),
LDADDR(0),		/* <- dummy 0 value */
RDREG32(AREG31_0, 0),	/* <- dummy 0 value */

END
};

// Code Size:  120 bytes
