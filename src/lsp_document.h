// What the language server knows of a document: its translation through the
// library (messages, the layout of its statements, its origin and sizes), and
// the UTF-16 positions the protocol counts in over its UTF-8 text.
#pragma once

#include "translator.h"

#include <cstdint>
#include <string>
#include <vector>

struct document_message {
    uint32_t line;         // from 1
    unsigned first_column; // bytes from 1, last included; 0 for the whole line
    unsigned last_column;
    severity level;
    std::string text;
};

struct document_row {
    row_kind kind;
    uint32_t line;
    unsigned first_column;
    unsigned last_column;
    uint32_t address;
    unsigned size;
    std::string text;
};

struct document_analysis {
    std::vector<document_message> messages;
    std::vector<document_row> rows;
    bool origin_found;
    uint32_t origin;
    uint32_t origin_line; // the line whose ORIGIN set origin
    uint32_t code_size;
    uint32_t array_size;
};

// Translates the text in memory, as the command line would the same text saved
// as a file, and keeps what it said.
[[nodiscard]] document_analysis analyse(const std::string& text);

// The text of line `line` (from 0), without its line end.
[[nodiscard]] std::string line_text(const std::string& text, uint32_t line);

// A byte offset in a line as UTF-16 code units, and back.
[[nodiscard]] unsigned utf16_units(const std::string& line, size_t bytes);
[[nodiscard]] size_t byte_offset(const std::string& line, unsigned units);
