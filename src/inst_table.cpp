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
    {"LDADDR", 1, 4, nullptr, INST_PLAIN},        {"RDREG8I", 2, 2, SEL8, INST_PLAIN},
    {"RDREG8", 2, 2, SEL8, INST_PLAIN},           {"RDREG16", 2, 2, SEL16, INST_PLAIN},
    {"RDREG32", 2, 2, SEL32, INST_PLAIN},         {"WRREG8", 2, 2, SEL8, INST_PLAIN},
    {"WRREG16", 2, 2, SEL16, INST_PLAIN},         {"WRREG32", 2, 2, SEL32, INST_PLAIN},
    {"WAITEVENT", 1, 1, EVENTSEL, INST_PLAIN},    {"NIBBLEMULT", 1, 1, NIBBSEL, INST_PLAIN},
    {"BYTEMULT", 1, 1, BYTESEL, INST_PLAIN},      {"ADDREGS", 0, 1, nullptr, INST_PLAIN},
    {"ADDA", 1, 2, nullptr, INST_PLAIN},          {"BCDCONV", 0, 1, nullptr, INST_PLAIN},
    {"SHIFTRIGHTA", 1, 1, SHIFTSEL, INST_PLAIN},  {"END", 0, 1, nullptr, INST_END},
    {"LDAREG8", 1, 2, nullptr, INST_PLAIN},       {"LDAREG16", 1, 4, nullptr, INST_PLAIN},
    {"LDAREG32", 1, 8, nullptr, INST_PLAIN},      {"LDBREG8", 1, 2, nullptr, INST_PLAIN},
    {"LDBREG16", 1, 4, nullptr, INST_PLAIN},      {"LDBREG32", 1, 8, nullptr, INST_PLAIN},
    {"VALWR8D", 2, 8, nullptr, INST_PLAIN},       {"VALWR16D", 2, 10, nullptr, INST_PLAIN},
    {"VALWR32D", 2, 14, nullptr, INST_PLAIN},     {"REGRD8D", 2, 6, SEL8, INST_PLAIN},
    {"REGRD16D", 2, 6, SEL16, INST_PLAIN},        {"REGRD32D", 2, 6, SEL32, INST_PLAIN},
    {"REGWR8D", 2, 6, SEL8, INST_PLAIN},          {"REGWR16D", 2, 6, SEL16, INST_PLAIN},
    {"REGWR32D", 2, 6, SEL32, INST_PLAIN},        {"REGRD8BI", 1, 30, BYTESEL, INST_INDIRECT},
    {"REGRD16BI", 1, 30, SEL16A, INST_INDIRECT},  {"REGRD32BI", 0, 30, nullptr, INST_INDIRECT},
    {"REGWR8BI", 1, 30, BYTESEL, INST_INDIRECT},  {"REGWR16BI", 1, 30, SEL16A, INST_INDIRECT},
    {"REGWR32BI", 0, 30, nullptr, INST_INDIRECT},
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

namespace {

// Mnemonics are looked up by a hash of their length and five of their letters
// in a table built on first use. The letters and weights are chosen so that no
// two of the 37 mnemonics share a slot: a statement costs one comparison.
constexpr size_t SLOTS = 64;
constexpr size_t MIN_MNEMONIC_CHARS = 3;

size_t slot_of(const char* word, size_t length) {
    const auto c = [&](size_t i) { return static_cast<unsigned char>(word[i]); };
    return (length * 2u + c(0) * 7u + c(2) * 7u + c(length / 2) * 3u + c(length - 3) * 5u +
            c(length - 2) * 11u) %
           SLOTS;
}

// A dozen characters at most: a plain loop beats the library call's set-up.
bool same_text(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

const inst_def* find_instruction(const char* word, size_t length) {
    static uint8_t slots[SLOTS]; // index + 1 into INST, or 0 for none
    static size_t lengths[INST_COUNT];
    static bool built = false;
    if (!built) {
        for (size_t i = 0; i < INST_COUNT; ++i) {
            lengths[i] = std::strlen(INST[i].name);
            size_t slot = slot_of(INST[i].name, lengths[i]);
            while (slots[slot] != 0) {
                slot = (slot + 1) % SLOTS;
            }
            slots[slot] = static_cast<uint8_t>(i + 1);
        }
        built = true;
    }
    if (length < MIN_MNEMONIC_CHARS) {
        return nullptr;
    }
    for (size_t slot = slot_of(word, length); slots[slot] != 0; slot = (slot + 1) % SLOTS) {
        const size_t index = slots[slot] - 1u;
        if (lengths[index] == length && same_text(INST[index].name, word, length)) {
            return &INST[index];
        }
    }
    return nullptr;
}
