const uint8_t line_directives[] = {
#line 2 "line_directives.ep"
// Line directives: this comment ends in a splice \

#line 4
// ORIGIN 0x4000
LDAREG8(0x99),  // fails in C

#line 6
// REGRD16BI(AREG15_0) expansion
#line 6
LDADDR(0x00401F),           // Fill in RDREG16(AREG15_0, 0) second parameter
#line 6
WRREG8(BREG7_0, 0x1F),
#line 6
LDADDR(0x00401B),           // Fill in LDADDR(0) parameter
#line 6
WRREG8(BREG15_8, 0x1B),
#line 6
LDADDR(0x00401C),
#line 6
WRREG8(BREG23_16, 0x1C),
#line 6
LDADDR(0x00401D),
#line 6
WRREG8(BREG31_24, 0x1D),
#line 6
LDADDR(0),		/* <- dummy 0 value */
#line 6
RDREG16(AREG15_0, 0),	/* <- dummy 0 value */
#line 6
 LDAREG8(0x99), // the block, then a statement

LDAREG8(0x99), END
#line 36 "line_directives.h"
};

// Code Size:  37 bytes
#define LINE_DIRECTIVES_ORIGIN 0x00004000u
#define LINE_DIRECTIVES_CODE_SIZE 37u
#define LINE_DIRECTIVES_SIZE 37u
