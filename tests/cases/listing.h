const uint8_t listing[] = {
// Listing: every indirect instruction, addresses that wrap
// ORIGIN 0x100
// ORIGIN 0xFFFFFF00
// ORIGIN FFFFFFD0

// REGRD8BI(AREG15_8) expansion
LDADDR(0xFFFFFFED),           // Fill in RDREG8(AREG15_8, 0) second parameter
WRREG8(BREG7_0, 0xED),
LDADDR(0xFFFFFFE9),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0xE9),
LDADDR(0xFFFFFFEA),
WRREG8(BREG23_16, 0xEA),
LDADDR(0xFFFFFFEB),
WRREG8(BREG31_24, 0xEB),
LDADDR(0),		/* <- dummy 0 value */
RDREG8(AREG15_8, 0),	/* <- dummy 0 value */
 LDADDR(0x10),  // two on a line

// REGRD16BI(AREG31_16) expansion
LDADDR(0x00000F),           // Fill in RDREG16(AREG31_16, 0) second parameter
WRREG8(BREG7_0, 0x0F),
LDADDR(0x00000B),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x0B),
LDADDR(0x00000C),
WRREG8(BREG23_16, 0x0C),
LDADDR(0x00000D),
WRREG8(BREG31_24, 0x0D),
LDADDR(0),		/* <- dummy 0 value */
RDREG16(AREG31_16, 0),	/* <- dummy 0 value */



// REGRD32BI(AREG31_0) expansion
LDADDR(0x00002D),           // Fill in RDREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x2D),
LDADDR(0x000029),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x29),
LDADDR(0x00002A),
WRREG8(BREG23_16, 0x2A),
LDADDR(0x00002B),
WRREG8(BREG31_24, 0x2B),
LDADDR(0),		/* <- dummy 0 value */
RDREG32(AREG31_0, 0),	/* <- dummy 0 value */

// REGWR8BI(AREG7_0) expansion
LDADDR(0x00004B),           // Fill in WRREG8(AREG7_0, 0) second parameter
WRREG8(BREG7_0, 0x4B),
LDADDR(0x000047),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x47),
LDADDR(0x000048),
WRREG8(BREG23_16, 0x48),
LDADDR(0x000049),
WRREG8(BREG31_24, 0x49),
LDADDR(0),		/* <- dummy 0 value */
WRREG8(AREG7_0, 0),	/* <- dummy 0 value */

// REGWR16BI(AREG15_0) expansion
LDADDR(0x000069),           // Fill in WRREG16(AREG15_0, 0) second parameter
WRREG8(BREG7_0, 0x69),
LDADDR(0x000065),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x65),
LDADDR(0x000066),
WRREG8(BREG23_16, 0x66),
LDADDR(0x000067),
WRREG8(BREG31_24, 0x67),
LDADDR(0),		/* <- dummy 0 value */
WRREG16(AREG15_0, 0),	/* <- dummy 0 value */


// REGWR32BI(AREG31_0) expansion
LDADDR(0x000087),           // Fill in WRREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x87),
LDADDR(0x000083),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x83),
LDADDR(0x000084),
WRREG8(BREG23_16, 0x84),
LDADDR(0x000085),
WRREG8(BREG31_24, 0x85),
LDADDR(0),		/* <- dummy 0 value */
WRREG32(AREG31_0, 0),	/* <- dummy 0 value */

	WRREG8(AREG7_0, 1),
END
};

// Code Size:  186 bytes
#define LISTING_ORIGIN 0xFFFFFFD0u
#define LISTING_CODE_SIZE 186u
#define LISTING_SIZE 187u
