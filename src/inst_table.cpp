// The 37 instructions of the Event Processor and the names their first
// parameters allow.
#include "inst_table.h"

#include <cstring>

// Every name is made of capital letters, digits and '_', and no name in a list is
// a prefix of another in the same list, so a parameter names at most one entry:
// the one that its whole word equals.
namespace {

constexpr const char* SEL8[] = {"AREG7_0",  "AREG15_8",  "AREG23_16", "AREG31_24", "BREG7_0",
                                "BREG15_8", "BREG23_16", "BREG31_24", nullptr};
constexpr const char* SEL16A[] = {"AREG31_16", "AREG15_0", nullptr};
constexpr const char* SEL16[] = {"AREG31_16", "AREG15_0", "BREG31_16", "BREG15_0", nullptr};
constexpr const char* SEL32[] = {"AREG31_0", "BREG31_0", nullptr};
constexpr const char* EVENTSEL[] = {"EP_RTCINT", "EP_MDCINT", "EP_ALLINT", "EP_GPIOINT", nullptr};
constexpr const char* NIBBSEL[] = {"AREG3_0",   "AREG7_4",   "AREG11_8",  "AREG15_12", "AREG19_16",
                                   "AREG23_20", "AREG27_24", "AREG31_28", nullptr};
constexpr const char* BYTESEL[] = {"AREG7_0", "AREG15_8", "AREG23_16", "AREG31_24", nullptr};
constexpr const char* SHIFTSEL[] = {"SHIFTRIGHT4", "SHIFTRIGHT8", "SHIFTRIGHT12", "SHIFTRIGHT16",
                                    nullptr};

// The instructions, which only the lookups below reach.
constexpr inst_def INST[INST_COUNT] = {
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

// Mnemonics are looked up by a hash of their length and five of their letters.
// The letters and weights are chosen so that no two of the 37 mnemonics share a
// slot (checked below): a known mnemonic costs one comparison. Measured at
// aa1544f with `valgrind --tool=callgrind Zolvek -q -o o.h src.ep` on
// bench/generate.awk's 10 MB source, a Release build: 222.9 million
// instructions, and 401.0 million
// with a walk through INST comparing each name (strlen, memcmp).
constexpr size_t SLOTS = 64;
constexpr size_t MIN_MNEMONIC_CHARS = 3;

constexpr size_t slot_of(const char* word, size_t length) {
    const auto c = [&](size_t i) { return static_cast<unsigned char>(word[i]); };
    return (length * 2u + c(0) * 7u + c(2) * 7u + c(length / 2) * 3u + c(length - 3) * 5u +
            c(length - 2) * 11u) %
           SLOTS;
}

// List names are looked up by a hash of their length and four of their letters,
// in one table that holds every list's names; a name in several lists has a slot
// for each, and the list is compared with the name. Measured as above, at
// aa1544f: 222.9 million instructions, and 241.8 million with a walk through the
// entry's list.
constexpr size_t LIST_SLOTS = 256;
constexpr size_t MIN_LIST_NAME_CHARS = 5;
constexpr size_t MAX_LIST_NAME_CHARS = 16;

constexpr size_t list_slot_of(const char* word, size_t length) {
    const auto c = [&](size_t i) { return static_cast<unsigned char>(word[i]); };
    return (length * 31u + c(0) * 7u + c(4) * 3u + c(length - 1) * 5u + c(length - 3) * 11u) %
           LIST_SLOTS;
}

constexpr size_t text_length(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

// True when no two mnemonics share a slot, so that a lookup compares one name.
constexpr bool mnemonic_slots_distinct() {
    for (size_t i = 0; i < INST_COUNT; ++i) {
        for (size_t j = i + 1; j < INST_COUNT; ++j) {
            if (slot_of(INST[i].name, text_length(INST[i].name)) ==
                slot_of(INST[j].name, text_length(INST[j].name))) {
                return false;
            }
        }
    }
    return true;
}
static_assert(mnemonic_slots_distinct(), "two mnemonics share a slot: change slot_of's weights");

template <typename Word> Word load(const char* text) {
    Word word;
    std::memcpy(&word, text, sizeof word);
    return word;
}

// Compares two texts of 2 to 16 characters with two overlapping loads from each
// end, so that no loop runs as many rounds as the (varying) length. Measured as
// above, at aa1544f: 222.9 million instructions, and 239.5 million with memcmp.
inline bool same_text(const char* a, const char* b, size_t length) {
    if (length >= 8) {
        const size_t last = length - 8;
        return ((load<uint64_t>(a) ^ load<uint64_t>(b)) |
                (load<uint64_t>(a + last) ^ load<uint64_t>(b + last))) == 0;
    }
    if (length >= 4) {
        const size_t last = length - 4;
        return ((load<uint32_t>(a) ^ load<uint32_t>(b)) |
                (load<uint32_t>(a + last) ^ load<uint32_t>(b + last))) == 0;
    }
    const size_t last = length - 2;
    return ((load<uint16_t>(a) ^ load<uint16_t>(b)) |
            (load<uint16_t>(a + last) ^ load<uint16_t>(b + last))) == 0;
}

struct mnemonic_table {
    uint8_t slots[SLOTS]; // index + 1 into INST, or 0 for none
    size_t lengths[INST_COUNT];
};

constexpr mnemonic_table build_mnemonic_table() {
    mnemonic_table table{};
    for (size_t i = 0; i < INST_COUNT; ++i) {
        const inst_def& entry = INST[i];
        table.lengths[i] = text_length(entry.name);
        size_t slot = slot_of(entry.name, table.lengths[i]);
        while (table.slots[slot] != 0) {
            slot = (slot + 1) % SLOTS;
        }
        table.slots[slot] = static_cast<uint8_t>(i + 1);
    }
    return table;
}

struct list_slot {
    const char* const* list;    // null in an empty slot
    const char* const* element; // the name's place in the list
    size_t length;
};

struct list_table {
    list_slot slots[LIST_SLOTS];
};

constexpr list_table build_list_table() {
    list_table table{};
    for (const inst_def& entry : INST) {
        for (const char* const* name = entry.params; name != nullptr && *name != nullptr; ++name) {
            const size_t length = text_length(*name);
            size_t slot = list_slot_of(*name, length);
            // Lists serve several instructions; each name goes in once.
            while (table.slots[slot].list != nullptr &&
                   (table.slots[slot].list != entry.params || table.slots[slot].element != name)) {
                slot = (slot + 1) % LIST_SLOTS;
            }
            table.slots[slot] = {entry.params, name, length};
        }
    }
    return table;
}

// Both are built as the program is compiled, from the constant tables above.
constexpr mnemonic_table MNEMONICS = build_mnemonic_table();
constexpr list_table LIST_NAMES = build_list_table();

} // namespace

const inst_def& instruction(size_t index) {
    return INST[index];
}

const inst_def* find_instruction(const char* word, size_t length) {
    if (length < MIN_MNEMONIC_CHARS) {
        return nullptr;
    }
    for (size_t slot = slot_of(word, length); MNEMONICS.slots[slot] != 0;
         slot = (slot + 1) % SLOTS) {
        const size_t index = MNEMONICS.slots[slot] - 1u;
        if (MNEMONICS.lengths[index] == length && same_text(INST[index].name, word, length)) {
            return &INST[index];
        }
    }
    return nullptr;
}

const char* find_list_name(const char* const* list, const char* word, size_t length) {
    if (length < MIN_LIST_NAME_CHARS || length > MAX_LIST_NAME_CHARS) {
        return nullptr;
    }
    for (size_t slot = list_slot_of(word, length); LIST_NAMES.slots[slot].list != nullptr;
         slot = (slot + 1) % LIST_SLOTS) {
        const list_slot& candidate = LIST_NAMES.slots[slot];
        if (candidate.list == list && candidate.length == length &&
            same_text(*candidate.element, word, length)) {
            return *candidate.element;
        }
    }
    return nullptr;
}
