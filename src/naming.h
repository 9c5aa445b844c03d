// Checks of the array name, which the header declares and a firmware build
// compiles.
#pragma once

// True when the name holds a byte below 0x20 or 0x7F, with which a file name
// could inject lines (#include, #error) into the header.
[[nodiscard]] bool has_control_character(const char* name);

// Warns when the header would not compile as it stands: the name is not a C
// identifier, is a keyword of C, or is a mnemonic that the instruction macros
// would replace.
void warn_about_array_name(const char* name);
