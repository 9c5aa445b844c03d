// The fixed vocabulary of the Event Processor source language.
#pragma once

#include <cstddef>
#include <cstdint>

// What a statement needs to know of its instruction beyond the table's columns.
enum inst_flags : uint8_t {
    INST_PLAIN = 0,
    INST_END = 1,      // END: ends the program, loses its ';' in the echo
    INST_INDIRECT = 2, // an indirect register access: replaced by its expansion block
};

struct inst_def {
    const char* name;          // mnemonic, upper case, as written in the source
    uint8_t nparams;           // 0, 1 or 2
    uint8_t size;              // bytes the instruction occupies in the program
    const char* const* params; // names allowed as first parameter (null-closed), or null
    inst_flags flags;
};

constexpr size_t INST_COUNT = 37;

// Searched in index order by the translator.
extern const inst_def INST[INST_COUNT];

extern const char* const SEL8[];
extern const char* const SEL16A[];
extern const char* const SEL16[];
extern const char* const SEL32[];
extern const char* const EVENTSEL[];
extern const char* const NIBBSEL[];
extern const char* const BYTESEL[];
extern const char* const SHIFTSEL[];

// The entry whose mnemonic is exactly the `length` characters at `word`, or null.
const inst_def* find_instruction(const char* word, size_t length);

// The name in `list` (an entry's params) that is exactly the `length` characters
// at `word`, or null.
const char* find_list_name(const char* const* list, const char* word, size_t length);
