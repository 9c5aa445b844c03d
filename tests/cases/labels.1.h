const uint8_t labels[] = {
// LABEL before_origin
// ORIGIN 0x4000
// LABEL start
LDADDR(1), // LABEL after_load
// LABEL: rev B, an ordinary comment
// LABEL 2x too
  //   LABEL  patch the operand below

// REGRD8BI(AREG7_0) expansion
LDADDR(0x004021),           // Fill in RDREG8(AREG7_0, 0) second parameter
WRREG8(BREG7_0, 0x21),
LDADDR(0x00401D),           // Fill in LDADDR(0) parameter
WRREG8(BREG15_8, 0x1D),
LDADDR(0x00401E),
WRREG8(BREG23_16, 0x1E),
LDADDR(0x00401F),
WRREG8(BREG31_24, 0x1F),
LDADDR(0),		/* <- dummy 0 value */
RDREG8(AREG7_0, 0),	/* <- dummy 0 value */

WRREG8(AREG7_0, 1),
// LABEL end
END
};

// Code Size:  36 bytes
#define LABELS_ORIGIN 0x00004000u
#define LABELS_CODE_SIZE 36u
#define LABELS_SIZE 37u
#define LABELS_LABEL_before_origin 0u
#define LABELS_LABEL_start 0u
#define LABELS_LABEL_after_load 4u
#define LABELS_LABEL_patch 4u
#define LABELS_LABEL_end 36u
