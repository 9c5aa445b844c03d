// Runs the translator over an in-memory source, the way the program reads a file.
#pragma once

#include "translator.h"

#include <cstdint>
#include <cstdio>
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

// Everything written to a stream by `write`, read back as text.
template <typename Write> std::string written_by(Write write) {
    FILE* out = std::tmpfile();
    write(out);
    std::string text;
    std::rewind(out);
    for (int c = std::getc(out); c != EOF; c = std::getc(out)) {
        text += static_cast<char>(c);
    }
    std::fclose(out);
    return text;
}
