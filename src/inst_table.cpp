#include "inst_table.h"

#include <cstring>

// No name in a list is a prefix of another in the same list: the translator takes
// the first entry the parameter text begins with and tries no other.
const char* const SEL8[] = {"AREG7_0",  "AREG15_8",  "AREG23_16", "AREG31_24", "BREG7_0",
                            "BREG15_8", "BREG23_16", "BREG31_24", nullptr};
const char* const SEL16A[] = {"AREG31_16", "AREG15_0", nullptr};
const char* const SEL16[] = {"AREG31_16", "AREG15_0", "BREG31_16", "BREG15_0", nullptr};
const char* const SEL32[] = {"AREG31_0", "BREG31_0", nullptr};
const char* const EVENTSEL[] = {"EP_RTCINT", "EP_MDCINT", "EP_ALLINT", "EP_GPIOINT", nullptr};
const char* const NIBBSEL[] = {"AREG3_0",   "AREG7_4",   "AREG11_8",  "AREG15_12", "AREG19_16",
                               "AREG23_20", "AREG27_24", "AREG31_28", nullptr};
const char* const BYTESEL[] = {"AREG7_0", "AREG15_8", "AREG23_16", "AREG31_24", nullptr};
const char* const SHIFTSEL[] = {"SHIFTRIGHT4", "SHIFTRIGHT8", "SHIFTRIGHT12", "SHIFTRIGHT16",
                                nullptr};

const inst_def INST[INST_COUNT] = {
    {"LDADDR", 1, 4, nullptr},     {"RDREG8I", 2, 2, SEL8},      {"RDREG8", 2, 2, SEL8},
    {"RDREG16", 2, 2, SEL16},      {"RDREG32", 2, 2, SEL32},     {"WRREG8", 2, 2, SEL8},
    {"WRREG16", 2, 2, SEL16},      {"WRREG32", 2, 2, SEL32},     {"WAITEVENT", 1, 1, EVENTSEL},
    {"NIBBLEMULT", 1, 1, NIBBSEL}, {"BYTEMULT", 1, 1, BYTESEL},  {"ADDREGS", 0, 1, nullptr},
    {"ADDA", 1, 2, nullptr},       {"BCDCONV", 0, 1, nullptr},   {"SHIFTRIGHTA", 1, 1, SHIFTSEL},
    {"END", 0, 1, nullptr},        {"LDAREG8", 1, 2, nullptr},   {"LDAREG16", 1, 4, nullptr},
    {"LDAREG32", 1, 8, nullptr},   {"LDBREG8", 1, 2, nullptr},   {"LDBREG16", 1, 4, nullptr},
    {"LDBREG32", 1, 8, nullptr},   {"VALWR8D", 2, 8, nullptr},   {"VALWR16D", 2, 10, nullptr},
    {"VALWR32D", 2, 14, nullptr},  {"REGRD8D", 2, 6, SEL8},      {"REGRD16D", 2, 6, SEL16},
    {"REGRD32D", 2, 6, SEL32},     {"REGWR8D", 2, 6, SEL8},      {"REGWR16D", 2, 6, SEL16},
    {"REGWR32D", 2, 6, SEL32},     {"REGRD8BI", 1, 30, BYTESEL}, {"REGRD16BI", 1, 30, SEL16A},
    {"REGRD32BI", 0, 30, nullptr}, {"REGWR8BI", 1, 30, BYTESEL}, {"REGWR16BI", 1, 30, SEL16A},
    {"REGWR32BI", 0, 30, nullptr},
};

const char* const INDIRECT_INST_NAMES[INDIRECT_INST_COUNT] = {
    "REGRD8BI", "REGWR8BI", "REGRD16BI", "REGWR16BI", "REGRD32BI", "REGWR32BI",
};

bool is_indirect(const char* name) {
    for (const char* indirect : INDIRECT_INST_NAMES) {
        if (name[0] == indirect[0] && std::strcmp(name, indirect) == 0) {
            return true;
        }
    }
    return false;
}
