// Runs the translator over an in-memory source, the way the program reads a file.
#pragma once

#include "translator.h"

#include <cstdint>
#include <string>

struct translation {
    read_result result;
    std::string text;        // what was written to the output stream
    std::string diagnostics; // what was written to stderr
    uint32_t origin;
    uint32_t pc;
};

// Resets the translation state, then translates `source` with translate_source.
translation translate(const std::string& source);
