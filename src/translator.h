// Line and statement translator: turns source lines into header text.
#pragma once

#include "inst_table.h"
#include "output.h"

#include <cstdint>
#include <cstdio>

constexpr unsigned MAX_LINE_CHARS = 1023;
constexpr unsigned LINE_BUFFER_SIZE = MAX_LINE_CHARS + 1;

// Character sets the scanners work with.
extern const char* const BLANKS;          // " \t"
extern const char* const HEADER_SKIP;     // " \t/"
extern const char* const MNEMONIC_DELIMS; // " \t("

// Position of the first character of s whose membership in set equals want, or
// null when the terminating NUL comes first.
char* first_occurrence(char* s, const char* set, bool want);
char* first_match(char* s, const char* set);
char* first_nonmatch(char* s, const char* set);
uint32_t max(uint32_t a, uint32_t b);

// Reads one hexadecimal number the way "%x" does (leading white space, optional
// sign, optional 0x, hex digits), but the same on every platform. True when there
// is no number, when "0x" has no digit after it, or when the value needs more than
// 32 bits. A minus negates modulo 2^32.
bool scan_hex(const char* text, uint32_t* value);

// Translates one complete line (no CR, no LF, edited in place) to out.
// True when the line failed; its diagnostic has been written to stderr.
bool parse_line(char* line, output* out);

bool parse_comment(char* line, output* out);
bool parse_org(char* text);
bool parse_addr(char* text);
bool parse_stmt(char* s, output* out);
bool parse_params(char* text, output* out, const inst_def& entry);
bool parse_stmt0(const inst_def& entry, output* out);

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

// Reads the source character by character into `line` (LINE_BUFFER_SIZE bytes),
// hands each complete line to parse_line and stops after the END line. CRs are
// dropped wherever they stand; a last line without LF is dropped.
read_result translate_source(FILE* in, output* out, char* line);
