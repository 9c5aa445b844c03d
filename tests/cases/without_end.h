const uint8_t without_end[] = {
// Every mnemonic, in the forms a C build must accept
//   ORIGIN 0x4000
LDADDR(0x1234), RDREG8I(AREG7_0, 1), RDREG8(BREG31_24, 2),  // several on a line
RDREG16(BREG15_0, 3),
RDREG32 (AREG31_0, 4),
  WRREG8(BREG7_0, 0x12),WRREG16(AREG31_16, 5),WRREG32(BREG31_0, 6),
WAITEVENT(EP_GPIOINT), NIBBLEMULT(AREG31_28), BYTEMULT(AREG23_16),

ADDREGS, ADDREGS(), BCDCONV, BCDCONV( ),   // bare and with an empty pair
ADDA(7), SHIFTRIGHTA(SHIFTRIGHT12),
LDAREG8(1), LDAREG16(2), LDAREG32(3), LDBREG8(4), LDBREG16(5), LDBREG32(6),
VALWR8D(1, 2), VALWR16D(3, 4), VALWR32D(5, 6),
REGRD8D(AREG15_8, 1), REGRD16D(BREG31_16, 2), REGRD32D(BREG31_0, 3),
REGWR8D(BREG23_16, 4), REGWR16D(AREG15_0, 5), REGWR32D(AREG31_0, 6),

// REGRD8BI(AREG31_24) expansion
LDADDR(0x004099),           // Fill in RDREG8(AREG31_24, 0) second parameter
WRREG8(BREG7_0, 0x99),
LDADDR(0x004095),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x95),
LDADDR(0x004096),
WRREG8(BREG23_16, 0x96),
LDADDR(0x004097),
WRREG8(BREG31_24, 0x97),
LDADDR(0),		/* <- dummy 0 value */
RDREG8(AREG31_24, 0),	/* <- dummy 0 value */

ADDREGS,
// REGWR8BI(AREG7_0) expansion
LDADDR(0x0040B8),           // Fill in WRREG8(AREG7_0, 0) second parameter
WRREG8(BREG7_0, 0xB8),
LDADDR(0x0040B4),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0xB4),
LDADDR(0x0040B5),
WRREG8(BREG23_16, 0xB5),
LDADDR(0x0040B6),
WRREG8(BREG31_24, 0xB6),
LDADDR(0),		/* <- dummy 0 value */
WRREG8(AREG7_0, 0),	/* <- dummy 0 value */
 BCDCONV,  // an expansion between statements

// REGRD16BI(AREG31_16) expansion
LDADDR(0x0040D7),           // Fill in RDREG16(AREG31_16, 0) second parameter
WRREG8(BREG7_0, 0xD7),
LDADDR(0x0040D3),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0xD3),
LDADDR(0x0040D4),
WRREG8(BREG23_16, 0xD4),
LDADDR(0x0040D5),
WRREG8(BREG31_24, 0xD5),
LDADDR(0),		/* <- dummy 0 value */
RDREG16(AREG31_16, 0),	/* <- dummy 0 value */

// REGWR16BI(AREG15_0) expansion
LDADDR(0x0040F5),           // Fill in WRREG16(AREG15_0, 0) second parameter
WRREG8(BREG7_0, 0xF5),
LDADDR(0x0040F1),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0xF1),
LDADDR(0x0040F2),
WRREG8(BREG23_16, 0xF2),
LDADDR(0x0040F3),
WRREG8(BREG31_24, 0xF3),
LDADDR(0),		/* <- dummy 0 value */
WRREG16(AREG15_0, 0),	/* <- dummy 0 value */


// REGRD32BI(AREG31_0) expansion
LDADDR(0x004113),           // Fill in RDREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x13),
LDADDR(0x00410F),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x0F),
LDADDR(0x004110),
WRREG8(BREG23_16, 0x10),
LDADDR(0x004111),
WRREG8(BREG31_24, 0x11),
LDADDR(0),		/* <- dummy 0 value */
RDREG32(AREG31_0, 0),	/* <- dummy 0 value */

// REGRD32BI(AREG31_0) expansion
LDADDR(0x004131),           // Fill in RDREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x31),
LDADDR(0x00412D),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x2D),
LDADDR(0x00412E),
WRREG8(BREG23_16, 0x2E),
LDADDR(0x00412F),
WRREG8(BREG31_24, 0x2F),
LDADDR(0),		/* <- dummy 0 value */
RDREG32(AREG31_0, 0),	/* <- dummy 0 value */

// REGWR32BI(AREG31_0) expansion
LDADDR(0x00414F),           // Fill in WRREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x4F),
LDADDR(0x00414B),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x4B),
LDADDR(0x00414C),
WRREG8(BREG23_16, 0x4C),
LDADDR(0x00414D),
WRREG8(BREG31_24, 0x4D),
LDADDR(0),		/* <- dummy 0 value */
WRREG32(AREG31_0, 0),	/* <- dummy 0 value */

// REGWR32BI(AREG31_0) expansion
LDADDR(0x00416D),           // Fill in WRREG32(AREG31_0, 0) second parameter
WRREG8(BREG7_0, 0x6D),
LDADDR(0x004169),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x69),
LDADDR(0x00416A),
WRREG8(BREG23_16, 0x6A),
LDADDR(0x00416B),
WRREG8(BREG31_24, 0x6B),
LDADDR(0),		/* <- dummy 0 value */
WRREG32(AREG31_0, 0),	/* <- dummy 0 value */

END
};

// Code Size:  366 bytes
