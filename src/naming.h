// Checks of the array name, which the header declares and a firmware build
// compiles.
#pragma once

#include <cstddef>

// True when the name holds a byte below 0x20 or 0x7F, with which a file name
// could inject lines (#include, #error) into the header.
[[nodiscard]] bool has_control_character(const char* name);

// The array name --c-name takes from a file name, made a C identifier the way
// zolvek_add_header names arrays: its last component (after '/', and on Windows
// '\\' too) up to its first '.', each byte that is not an ASCII letter, digit or
// '_' made '_', and a leading digit given a '_' before it. True when that needs
// more than capacity - 1 characters.
[[nodiscard]] bool c_name_of(const char* path, char* name, size_t capacity);

// Why the header would not compile with this array name, as a message format
// for the name: it is not a C identifier, is a keyword of C, or is a mnemonic
// that the instruction macros would replace. Null for a name that serves.
[[nodiscard]] const char* array_name_fault(const char* name);
