// The listing (--listing FILE): each source line with the address and size of
// its statements, the instructions of each expansion block, each failing line's
// messages, and at the end the program's layout. It listens to a translation's
// rows, and is given the messages as the command line prints them.
#pragma once

#include "output.h"
#include "translator.h"

#include <cstddef>
#include <cstdint>

// The listing's first line, its column heading.
extern const char LISTING_HEADING[];

struct listing {
    output* out;
    unsigned statements;
    unsigned expansions;
    bool in_block; // the last row was an expansion's
    // Messages until the row they follow is written: a few a line at most, each
    // at most a path and a quoted line long. Those from held_split on are about
    // held_line; the ones before, about earlier lines.
    char held[1 << 17];
    size_t held_length;
    size_t held_split;
    uint32_t held_line;
};

// Starts the listing with its column heading.
void start_listing(listing* l, output* out);

// A row_sink: writes the row, after the messages about earlier lines and
// before those about its own.
void list_row(void* l, const layout_row& row);

// Keeps a message (its text as printed, line feed included) about a source line
// for after that line's next row.
void list_message(listing* l, uint32_t line, const char* text, size_t length);

// Writes the messages still kept: after the last line of a run.
void list_messages(listing* l);

// After the last line of a successful run: the row of the END the frame adds,
// if it does, and the program's layout.
void list_closing(listing* l, const translation& t);
