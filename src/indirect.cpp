#include "indirect.h"

#include "state.h"

#include <cstdint>
#include <cstring>

namespace {

struct counterpart {
    const char* indirect;
    const char* direct;
};

const counterpart COUNTERPARTS[] = {
    {"REGRD8BI", "RDREG8"}, {"REGRD16BI", "RDREG16"}, {"REGRD32BI", "RDREG32"},
    {"REGWR8BI", "WRREG8"}, {"REGWR16BI", "WRREG16"}, {"REGWR32BI", "WRREG32"},
};

} // namespace

const char* direct_counterpart(const char* name) {
    for (const counterpart& c : COUNTERPARTS) {
        if (std::strcmp(name, c.indirect) == 0) {
            return c.direct;
        }
    }
    return name;
}

// Block layout from P = pc: four LDADDR/WRREG8 pairs copy the four bytes of B into
// the operands further down (P+29 is the last instruction's second parameter,
// P+25..P+27 the dummy LDADDR's parameter), then the dummy LDADDR(0) at P+24 and
// the direct access at P+28. All addresses wrap in 32 bits like pc itself.
void expand_indirect(FILE* out, const char* name, const char* reg) {
    const char* direct = direct_counterpart(name);
    const uint32_t second_param = pc + 29;
    const uint32_t ldaddr_param[3] = {pc + 25, pc + 26, pc + 27};

    // One formatted write for the whole block: the ten instruction lines under
    // their heading, each line as its own literal.
    std::fprintf(out,
                 "%s// %s(%s) expansion%s"
                 "LDADDR(0x%06X),           // Fill in %s(%s, 0) second parameter%s"
                 "WRREG8(BREG7_0, 0x%02X),%s"
                 "LDADDR(0x%06X),           // Fill in LDADDR(0) parameter%s"
                 "WRREG8(BREG15_8, 0x%02X),%s"
                 "LDADDR(0x%06X),%s"
                 "WRREG8(BREG23_16, 0x%02X),%s"
                 "LDADDR(0x%06X),%s"
                 "WRREG8(BREG31_24, 0x%02X),%s"
                 "LDADDR(0),\t\t/* <- dummy 0 value */%s"
                 "%s(%s, 0),\t/* <- dummy 0 value */\n",
                 "\n", name, reg, "\n",                     // heading
                 unsigned{second_param}, direct, reg, "\n", // P+29
                 unsigned{second_param & 0xFFu}, "\n",      //
                 unsigned{ldaddr_param[0]}, "\n",           // P+25
                 unsigned{ldaddr_param[0] & 0xFFu}, "\n",   //
                 unsigned{ldaddr_param[1]}, "\n",           // P+26
                 unsigned{ldaddr_param[1] & 0xFFu}, "\n",   //
                 unsigned{ldaddr_param[2]}, "\n",           // P+27
                 unsigned{ldaddr_param[2] & 0xFFu}, "\n",   //
                 "\n",                                      // dummy LDADDR
                 direct, reg);                              // direct access
}
