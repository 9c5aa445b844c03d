/* Test-only stand-ins for the instruction macros: each expands to exactly as many
   bytes as the instruction occupies, so the size of a converted array must equal
   the code size the converter printed. */
#include <stdint.h>

/* A parameterless instruction may be written bare or with "()": bare, ZV_NO_ARGS is
   the enum constant; followed by "()", it is the function-like macro. */
#define ZV_NO_ARGS() 0
enum { ZV_NO_ARGS = 0 };
#define ZV_2 0, 0
#define ZV_4 ZV_2, ZV_2
#define ZV_6 ZV_4, ZV_2
#define ZV_8 ZV_4, ZV_4
#define ZV_30 ZV_8, ZV_8, ZV_8, ZV_6

#define LDADDR(a) ZV_4
#define RDREG8I(r, v) ZV_2
#define RDREG8(r, v) ZV_2
#define RDREG16(r, v) ZV_2
#define RDREG32(r, v) ZV_2
#define WRREG8(r, v) ZV_2
#define WRREG16(r, v) ZV_2
#define WRREG32(r, v) ZV_2
#define WAITEVENT(e) 0
#define NIBBLEMULT(r) 0
#define BYTEMULT(r) 0
#define ADDREGS 0 + ZV_NO_ARGS
#define ADDA(v) ZV_2
#define BCDCONV 0 + ZV_NO_ARGS
#define SHIFTRIGHTA(s) 0
#define END 0 + ZV_NO_ARGS
#define LDAREG8(v) ZV_2
#define LDAREG16(v) ZV_4
#define LDAREG32(v) ZV_8
#define LDBREG8(v) ZV_2
#define LDBREG16(v) ZV_4
#define LDBREG32(v) ZV_8
#define VALWR8D(a, v) ZV_8
#define VALWR16D(a, v) ZV_8, ZV_2
#define VALWR32D(a, v) ZV_8, ZV_6
#define REGRD8D(r, a) ZV_6
#define REGRD16D(r, a) ZV_6
#define REGRD32D(r, a) ZV_6
#define REGWR8D(r, a) ZV_6
#define REGWR16D(r, a) ZV_6
#define REGWR32D(r, a) ZV_6
#define REGRD8BI(r) ZV_30
#define REGRD16BI(r) ZV_30
#define REGRD32BI ZV_30 + ZV_NO_ARGS
#define REGWR8BI(r) ZV_30
#define REGWR16BI(r) ZV_30
#define REGWR32BI ZV_30 + ZV_NO_ARGS
