/* Test-only stand-ins for the instruction macros: each expands to exactly as many
   bytes as the instruction occupies, so sizeof of a converted array must equal the
   code size the converter printed. */
#include <stdint.h>

enum zv_names {
    AREG7_0, AREG15_8, AREG23_16, AREG31_24, BREG7_0, BREG15_8, BREG23_16, BREG31_24,
    AREG31_16, AREG15_0, BREG31_16, BREG15_0, AREG31_0, BREG31_0,
    EP_RTCINT, EP_MDCINT, EP_ALLINT, EP_GPIOINT,
    AREG3_0, AREG7_4, AREG11_8, AREG15_12, AREG19_16, AREG23_20, AREG27_24, AREG31_28,
    SHIFTRIGHT4, SHIFTRIGHT8, SHIFTRIGHT12, SHIFTRIGHT16
};

/* A parameterless instruction may be written bare or with "()": bare, ZV_NO_ARGS is
   the enum constant; followed by "()", it is the function-like macro. */
#define ZV_NO_ARGS() 0
enum { ZV_NO_ARGS = 0 };

#define ZV_B(x) (uint8_t)(x)
#define ZV_Z2 0, 0
#define ZV_Z4 ZV_Z2, ZV_Z2
#define ZV_Z8 ZV_Z4, ZV_Z4
#define ZV_Z28 ZV_Z8, ZV_Z8, ZV_Z8, ZV_Z4

#define LDADDR(a) ZV_B(a), ZV_B((a) >> 8), ZV_B((a) >> 16), 0x10
#define RDREG8I(r, v) ZV_B(r), ZV_B(v)
#define RDREG8(r, v) ZV_B(r), ZV_B(v)
#define RDREG16(r, v) ZV_B(r), ZV_B(v)
#define RDREG32(r, v) ZV_B(r), ZV_B(v)
#define WRREG8(r, v) ZV_B(r), ZV_B(v)
#define WRREG16(r, v) ZV_B(r), ZV_B(v)
#define WRREG32(r, v) ZV_B(r), ZV_B(v)
#define WAITEVENT(e) ZV_B(e)
#define NIBBLEMULT(r) ZV_B(r)
#define BYTEMULT(r) ZV_B(r)
#define ADDREGS 0xA1 + ZV_NO_ARGS
#define ADDA(v) 0xA2, ZV_B(v)
#define BCDCONV 0xA3 + ZV_NO_ARGS
#define SHIFTRIGHTA(s) ZV_B(s)
#define END 0xFF + ZV_NO_ARGS
#define LDAREG8(v) 0xB0, ZV_B(v)
#define LDAREG16(v) 0xB1, ZV_B(v), ZV_Z2
#define LDAREG32(v) 0xB2, ZV_B(v), ZV_Z4, ZV_Z2
#define LDBREG8(v) 0xB3, ZV_B(v)
#define LDBREG16(v) 0xB4, ZV_B(v), ZV_Z2
#define LDBREG32(v) 0xB5, ZV_B(v), ZV_Z4, ZV_Z2
#define VALWR8D(a, v) ZV_B(a), ZV_B(v), ZV_Z4, ZV_Z2
#define VALWR16D(a, v) ZV_B(a), ZV_B(v), ZV_Z8
#define VALWR32D(a, v) ZV_B(a), ZV_B(v), ZV_Z8, ZV_Z4
#define REGRD8D(r, a) ZV_B(r), ZV_B(a), ZV_Z4
#define REGRD16D(r, a) ZV_B(r), ZV_B(a), ZV_Z4
#define REGRD32D(r, a) ZV_B(r), ZV_B(a), ZV_Z4
#define REGWR8D(r, a) ZV_B(r), ZV_B(a), ZV_Z4
#define REGWR16D(r, a) ZV_B(r), ZV_B(a), ZV_Z4
#define REGWR32D(r, a) ZV_B(r), ZV_B(a), ZV_Z4
#define REGRD8BI(r) ZV_B(r), ZV_Z28, 0
#define REGRD16BI(r) ZV_B(r), ZV_Z28, 0
#define REGRD32BI ZV_Z28, 0, 0 + ZV_NO_ARGS
#define REGWR8BI(r) ZV_B(r), ZV_Z28, 0
#define REGWR16BI(r) ZV_B(r), ZV_Z28, 0
#define REGWR32BI ZV_Z28, 0, 0 + ZV_NO_ARGS
