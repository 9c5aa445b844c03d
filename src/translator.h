// The translator, a library: turns an Event Processor source into header text.
// A translation is a value its caller owns; everything it says about the source
// goes to functions the caller gives: its messages, and if asked the program's
// layout row by row (what a listing prints). It prints nothing itself.
#pragma once

#include "output.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr unsigned MAX_LINE_CHARS = 1023;
constexpr size_t INPUT_READ_SIZE = 1 << 16;
// A read's block behind the start of the line the previous read cut off.
constexpr size_t INPUT_BUFFER_SIZE = MAX_LINE_CHARS + INPUT_READ_SIZE;

enum severity { SEVERITY_ERROR, SEVERITY_WARNING };

// A message about a source line.
struct source_message {
    uint32_t line;         // from 1
    unsigned first_column; // the statement's first and last byte in the line, from 1;
    unsigned last_column;  // 0 where the message is about the whole line
    severity level;
    const char* text; // without a program name, line number or severity word
};

// What a row of the program's layout stands for.
enum row_kind {
    ROW_TEXT,      // a line, or what is left of one, without a statement to list: a
                   // comment, a blank line, a failing statement with what follows it
    ROW_STATEMENT, // a statement at its address
    ROW_EXPANSION, // one instruction of the block an indirect statement expands to
    ROW_LABEL,     // a label: its name, and as its address its offset from the origin
};

struct layout_row {
    row_kind kind;
    uint32_t line;         // the source line (an expansion's: its statement's)
    unsigned first_column; // a statement's first and last byte in the line, from 1;
    unsigned last_column;  // else 0
    uint32_t address;      // a statement's or instruction's address, a label's offset, else 0
    unsigned size;         // its bytes, else 0
    const char* text;      // the text as written (an expansion's: as the header has it)
    size_t length;
};

// A label ("// LABEL name"): the offset from the origin of the program byte that
// follows where it stands.
constexpr unsigned MAX_LABELS = 1024;
constexpr unsigned MAX_LABEL_CHARS = 63;
struct label {
    char name[MAX_LABEL_CHARS + 1];
    uint32_t offset;
    uint32_t line;
};

using message_sink = void (*)(void* context, const source_message& message);
using row_sink = void (*)(void* context, const layout_row& row);

// One translation: what the caller chose, and everything translating changes.
struct translation {
    const char* line_directive_name; // with --line-directives the source's name, else null
    message_sink on_message;
    row_sink on_row;  // null: no layout is wanted
    void* context;    // given to both
    bool keep_labels; // labels are written out: a second one of a name fails its line

    uint32_t linenum;       // number of the line being translated
    uint32_t pc;            // address of the next instruction byte
    uint32_t origin;        // the ORIGIN address
    uint32_t origin_line;   // the line that set origin, for a warning when another replaces it
    bool org_found;         // a valid ORIGIN address has been read
    bool stmt_found;        // the first statement line has been reached
    bool end_stmt_found;    // the END statement has been processed
    uint32_t splice_line;   // the last line given to the header if it ends in a line splice
    uint32_t presumed_line; // the line C gives the header's next line, as far as #line has set it
    const char* line_start; // the line being translated, for columns
    unsigned label_count;   // with keep_labels, the labels so far
    label labels[MAX_LABELS];
};

// A translation at its start. on_message must be given; on_row and
// line_directive_name may be null.
[[nodiscard]] translation start_translation(const char* line_directive_name,
                                            message_sink on_message, row_sink on_row,
                                            void* context);

enum read_result {
    READ_OK,            // every line translated
    READ_LINES_FAILED,  // one or more lines failed; all were reported
    READ_LINE_TOO_LONG, // stopped at a line of more than MAX_LINE_CHARS characters
    READ_ERROR,         // the input stream reported an error
};

// Reads the source a block at a time into `block` (INPUT_BUFFER_SIZE bytes),
// translates each line to out and stops after the END line. A UTF-8 byte-order
// mark at the start is skipped, CRs are dropped wherever they stand, and a last
// line without LF is translated as if one followed.
[[nodiscard]] read_result translate_source(translation* t, FILE* in, output* out, char* block);
// The same for a source in memory, with the same result, read in the same blocks.
[[nodiscard]] read_result translate_text(translation* t, const char* text, size_t size, output* out,
                                         char* block);

// The frame of the header: the array's opening line, and after the last
// translated line the closing END (when the source had none), "};" and the
// code-size comment.
void write_opening(output* out, const char* array_name);
void write_closing(const translation& t, output* out);
// With --line-directives, after the last translated line: a #line directive that
// gives the rest of the header its own name (as given) and line numbers back.
// The buffer must count its lines.
void write_header_line_directive(const translation& t, output* out, const char* header_name);
// After the frame (--defines): the origin, the code size and the array's size
// as macros named after the array, NAME_ORIGIN, NAME_CODE_SIZE and NAME_SIZE,
// and with keep_labels each label's offset as NAME_LABEL_<label>.
void write_defines(const translation& t, output* out, const char* array_name);

// With --declarations, a header of its own for every other C file: its first
// line "/* Declarations of NAME, written by Zolvek */", an include guard,
// <stdint.h>, the macros write_defines writes, and the array's declaration.
void write_declarations(const translation& t, output* out, const char* array_name);

// The program's bytes from its origin, not counting an END the frame appends.
[[nodiscard]] uint32_t code_size(const translation& t);
// The bytes of the array: the code size, and the END the frame appends when the
// source has none (the code size does not count it, the firmware must load it).
[[nodiscard]] uint32_t array_size(const translation& t);
