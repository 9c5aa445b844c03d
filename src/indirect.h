// Expansion of the indirect register accesses into self-patching blocks.
#pragma once

#include "output.h"

// Direct instruction that an indirect mnemonic stands for (RDREG16 for REGRD16BI,
// ...); any other name maps to itself.
const char* direct_counterpart(const char* name);

// Writes the ten-instruction block that replaces the indirect instruction `name`
// at the current pc. `reg` is the register-A field its last instruction names.
// The block is 30 bytes of program; pc is left for the caller to advance.
void expand_indirect(output* out, const char* name, const char* reg);
