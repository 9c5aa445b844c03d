// Line and statement translator: turns source lines into header text.
#pragma once

#include "output.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr unsigned MAX_LINE_CHARS = 1023;
constexpr size_t INPUT_READ_SIZE = 1 << 16;
// A read's block behind the start of the line the previous read cut off.
constexpr size_t INPUT_BUFFER_SIZE = MAX_LINE_CHARS + INPUT_READ_SIZE;

enum read_result {
    READ_OK,            // every line translated
    READ_LINES_FAILED,  // one or more lines failed; all were reported
    READ_LINE_TOO_LONG, // stopped at a line of more than MAX_LINE_CHARS characters
    READ_ERROR,         // the input stream reported an error
};

// The frame of the header: the array's opening line, and after the last
// translated line the closing END (when the source had none), "};" and the
// code-size comment.
void write_opening(output* out, const char* array_name);
void write_closing(output* out);
// With --line-directives, after the last translated line: a #line directive that
// gives the rest of the header its own name (as given) and line numbers back.
// The buffer must count its lines.
void write_header_line_directive(output* out, const char* header_name);
// After the frame (--defines): the origin, the code size and the array's size
// as macros named after the array, NAME_ORIGIN, NAME_CODE_SIZE and NAME_SIZE.
void write_defines(output* out, const char* array_name);

// The bytes of the array: the code size, and the END the frame appends when the
// source has none (the code size does not count it, the firmware must load it).
[[nodiscard]] uint32_t array_size();

// Reads the source a block at a time into `block` (INPUT_BUFFER_SIZE bytes),
// translates each line and stops after the END line. A UTF-8 byte-order mark
// at the start is skipped, CRs are dropped wherever they stand, and a last line
// without LF is translated as if one followed.
[[nodiscard]] read_result translate_source(FILE* in, output* out, char* block);
