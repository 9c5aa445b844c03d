// Expansion of the indirect register accesses into self-patching blocks.
#pragma once

#include "output.h"
#include "translator.h"

// Writes the ten-instruction block that replaces the indirect instruction `name`
// at the current pc. `reg` is the register-A field its last instruction names.
// The block is 30 bytes of program; pc is left for the caller to advance.
// For a caller that asked for the layout, each of its instructions is a row.
void expand_indirect(const translation* t, output* out, const char* name, const char* reg);
