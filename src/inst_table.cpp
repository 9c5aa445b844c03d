// The 37 instructions of the Event Processor and the names their first
// parameters allow.
#include "inst_table.h"

#include <cstdint>
#include <cstring>
#include <utility>

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

// A word of 2 to 16 characters as two loads from its ends, which overlap: with
// its length, they hold every byte of it, and no loop runs as many rounds as the
// (varying) length.
struct word_key {
    uint64_t head; // the first 8 bytes; of a shorter word, its first 4 (or 2)
    uint64_t tail; // the last as many
};

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr bool BIG_ENDIAN_LOADS = true;
#else
constexpr bool BIG_ENDIAN_LOADS = false; // x86 and ARM, every target of MSVC's
#endif

template <typename Word, size_t... I>
constexpr Word compose(const char* text, std::index_sequence<I...>) {
    constexpr size_t last = sizeof...(I) - 1;
    return static_cast<Word>(
        ((Word{static_cast<unsigned char>(text[I])} << (8 * (BIG_ENDIAN_LOADS ? last - I : I))) |
         ...));
}

// The tables below are built as the program is compiled, where no load can be
// written: there a word is composed byte by byte into the value the load gives.
// A lookup loads: measured as below, on top of 2bb6f27, 201.3 million
// instructions against 202.9 million composing (GCC then does not inline the
// key's computation).
template <bool AT_COMPILE_TIME, typename Word> constexpr uint64_t read(const char* text) {
    if constexpr (AT_COMPILE_TIME) {
        return compose<Word>(text, std::make_index_sequence<sizeof(Word)>{});
    } else {
        Word word = 0;
        std::memcpy(&word, text, sizeof word);
        return word;
    }
}

template <bool AT_COMPILE_TIME = false> constexpr word_key key_of(const char* word, size_t length) {
    if (length >= 8) {
        return {read<AT_COMPILE_TIME, uint64_t>(word),
                read<AT_COMPILE_TIME, uint64_t>(word + length - 8)};
    }
    if (length >= 4) {
        return {read<AT_COMPILE_TIME, uint32_t>(word),
                read<AT_COMPILE_TIME, uint32_t>(word + length - 4)};
    }
    return {read<AT_COMPILE_TIME, uint16_t>(word),
            read<AT_COMPILE_TIME, uint16_t>(word + length - 2)};
}

constexpr size_t text_length(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

// Mnemonics are looked up by a multiplicative hash of their key, whose factor
// was searched for so that no two of the 37 mnemonics share a slot (checked
// below): a lookup compares one key. Measured with `valgrind --tool=callgrind
// Zolvek -q -o o.h src.ep` on bench/generate.awk's 10 MB source, RelWithDebInfo,
// on top of 0886daa: 212.2 million instructions with a sum of five weighted
// letters as the hash and the name compared in place, 203.9 million with this.
constexpr size_t SLOT_BITS = 6;
constexpr size_t SLOTS = size_t{1} << SLOT_BITS;
constexpr size_t MIN_MNEMONIC_CHARS = 3;

constexpr size_t hash_of(const word_key& key, size_t length, size_t bits) {
    return static_cast<size_t>(((key.head ^ key.tail << 5 ^ length) * 0x24f66055ff4b74a7u) >>
                               (64 - bits));
}

constexpr size_t longest_mnemonic() {
    size_t longest = 0;
    for (const inst_def& entry : INST) {
        longest = text_length(entry.name) > longest ? text_length(entry.name) : longest;
    }
    return longest;
}
constexpr size_t MAX_MNEMONIC_CHARS = longest_mnemonic();
static_assert(MAX_MNEMONIC_CHARS <= 16, "a mnemonic longer than a key holds");

// List names are looked up by the same hash of their key, in one table that
// holds every list's names; a name in several lists has a slot for each, and the
// list is compared with the key. Measured as above: 203.9 million instructions
// with a hash of four weighted letters and the name compared in place, 202.9
// million with this.
constexpr size_t LIST_SLOT_BITS = 8;
constexpr size_t LIST_SLOTS = size_t{1} << LIST_SLOT_BITS;
constexpr size_t MIN_LIST_NAME_CHARS = 5;
constexpr size_t MAX_LIST_NAME_CHARS = 16;

struct mnemonic_slot {
    word_key key;
    uint8_t length; // 0 in an empty slot
    uint8_t index;  // into INST
};

struct mnemonic_table {
    mnemonic_slot slots[SLOTS];
    bool distinct; // no two mnemonics share a slot
};

constexpr mnemonic_table build_mnemonic_table() {
    mnemonic_table table{};
    table.distinct = true;
    for (size_t i = 0; i < INST_COUNT; ++i) {
        const size_t length = text_length(INST[i].name);
        const word_key key = key_of<true>(INST[i].name, length);
        mnemonic_slot& slot = table.slots[hash_of(key, length, SLOT_BITS)];
        table.distinct = table.distinct && slot.length == 0;
        slot = {key, static_cast<uint8_t>(length), static_cast<uint8_t>(i)};
    }
    return table;
}

struct list_slot {
    const char* const* list;    // null in an empty slot
    const char* const* element; // the name's place in the list
    word_key key;
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
            const word_key key = key_of<true>(*name, length);
            size_t slot = hash_of(key, length, LIST_SLOT_BITS);
            // Lists serve several instructions; each name goes in once.
            while (table.slots[slot].list != nullptr &&
                   (table.slots[slot].list != entry.params || table.slots[slot].element != name)) {
                slot = (slot + 1) % LIST_SLOTS;
            }
            table.slots[slot] = {entry.params, name, key, length};
        }
    }
    return table;
}

// Both are built as the program is compiled, from the constant tables above.
constexpr mnemonic_table MNEMONICS = build_mnemonic_table();
constexpr list_table LIST_NAMES = build_list_table();
static_assert(MNEMONICS.distinct, "two mnemonics share a slot: search hash_of another factor");

} // namespace

const inst_def& instruction(size_t index) {
    return INST[index];
}

const inst_def* find_instruction(const char* word, size_t length) {
    if (length < MIN_MNEMONIC_CHARS || length > MAX_MNEMONIC_CHARS) {
        return nullptr;
    }
    const word_key key = key_of(word, length);
    const mnemonic_slot& slot = MNEMONICS.slots[hash_of(key, length, SLOT_BITS)];
    return slot.length == length && slot.key.head == key.head && slot.key.tail == key.tail
               ? &INST[slot.index]
               : nullptr;
}

const char* find_list_name(const char* const* list, const char* word, size_t length) {
    if (length < MIN_LIST_NAME_CHARS || length > MAX_LIST_NAME_CHARS) {
        return nullptr;
    }
    const word_key key = key_of(word, length);
    for (size_t slot = hash_of(key, length, LIST_SLOT_BITS); LIST_NAMES.slots[slot].list != nullptr;
         slot = (slot + 1) % LIST_SLOTS) {
        const list_slot& candidate = LIST_NAMES.slots[slot];
        if (candidate.list == list && candidate.length == length &&
            candidate.key.head == key.head && candidate.key.tail == key.tail) {
            return *candidate.element;
        }
    }
    return nullptr;
}
