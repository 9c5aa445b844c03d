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

// The table's entries, by index from 0 to INST_COUNT - 1 (for a list of them).
[[nodiscard]] const inst_def& instruction(size_t index);

// The entry whose mnemonic is exactly the `length` characters at `word`, or null.
[[nodiscard]] const inst_def* find_instruction(const char* word, size_t length);

// The name in `list` (an entry's params) that is exactly the `length` characters
// at `word`, or null.
[[nodiscard]] const char* find_list_name(const char* const* list, const char* word, size_t length);
