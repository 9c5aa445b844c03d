const uint8_t expansion_mid_line[] = {
// ORIGIN 12345678
  ADDA(1),
// REGRD16BI(AREG15_0) expansion
LDADDR(0x12345697),           // Fill in RDREG16(AREG15_0, 0) second parameter
WRREG8(BREG7_0, 0x97),
LDADDR(0x12345693),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x93),
LDADDR(0x12345694),
WRREG8(BREG23_16, 0x94),
LDADDR(0x12345695),
WRREG8(BREG31_24, 0x95),
LDADDR(0),		/* <- dummy 0 value */
RDREG16(AREG15_0, 0),	/* <- dummy 0 value */
  ADDREGS, // tail
END
};

// Code Size:  33 bytes
