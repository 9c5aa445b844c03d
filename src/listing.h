// The listing (--listing FILE): each source line with the address and size of
// its statements, the instructions of each expansion block, each failing line's
// messages, and at the end the program's layout.
#pragma once

#include "output.h"

#include <cstddef>
#include <cstdint>

// The listing's first line, its column heading.
extern const char LISTING_HEADING[];

// Where the listing goes; null when none is written. The translator tests it
// before each call below, so that a run without a listing pays one test a line.
extern output* listing;

// Starts the listing with its column heading; out may be null (no listing).
void start_listing(output* out);

// A row of the line being translated (linenum) with no address: a comment, a
// blank line, a header line, or the failing rest of a line.
void list_line(const char* text, size_t length);

// A row for a statement at the current pc, followed by the rows of the
// expansion block it holds, if any.
void list_statement(unsigned size, const char* text, size_t length);

// Keeps the block an indirect statement expands to (the text it gives the
// header) for the rows after its statement's row.
void hold_expansion(const char* block, size_t length);

// Keeps a message about a source line, written after the next row.
void hold_message(const char* text, size_t length);

// Writes the messages kept since the last row.
void list_messages();

// After the last line of a successful run: the row of the END the frame adds,
// if it does, and the program's layout.
void list_closing();
