// Checks of the array name, which the header declares and a firmware build
// compiles.
#pragma once

// True when the name holds a byte below 0x20 or 0x7F, with which a file name
// could inject lines (#include, #error) into the header.
[[nodiscard]] bool has_control_character(const char* name);

// Why the header would not compile with this array name, as a message format
// for the name: it is not a C identifier, is a keyword of C, or is a mnemonic
// that the instruction macros would replace. Null for a name that serves.
[[nodiscard]] const char* array_name_fault(const char* name);
