// An output's bytes go through one owned buffer, written in large blocks to a
// file's descriptor, to a caller's function, or nowhere; the first failed write
// keeps the system's reason, which the caller reports.
#pragma once

#include <cstddef>
#include <cstdio>

// A caller's destination for an output's bytes: true when it failed to take
// them, with *error_number the reason.
using byte_sink = bool (*)(void* context, const char* data, size_t length, int* error_number);

struct output {
    int fd;           // where the bytes go (a text-mode descriptor on Windows), or -1
    byte_sink sink;   // where they go without a descriptor; null: nowhere
    void* context;    // given to sink
    bool failed;      // a write failed; later ones are skipped
    int error_number; // the system's reason for that failure
    size_t used;      // bytes waiting in data
    // Text put in place, not yet copied: it follows what is waiting in data.
    const char* staged;
    size_t staged_length;
    bool count_lines; // line feeds written are counted (see lines_put)
    unsigned long lines_written;
    char data[1 << 18];
};

// Starts an empty buffer in front of the stream's descriptor, which it writes
// directly (the stream itself is only closed).
void open_output_buffer(output* out, FILE* file);

// Starts an empty buffer whose bytes go to sink, or with a null sink nowhere
// (for a caller that wants only messages and layout).
void open_output_sink(output* out, byte_sink sink, void* context);

// Adds text to what is waiting, writing the buffer out when it is full.
void put(output* out, const char* text, size_t length);
void put_text(output* out, const char* text);

// Adds text that stays where it is until settle_output or the next put, so that
// text put right after it in memory (the next line of a block) is copied with
// it in one piece. At 3448f68 with the two changes above in translator.cpp, the
// callgrind count on bench/generate.awk's 10 MB source is 215.5 million
// instructions with put for each line, and 210.7 million with this.
void put_in_place(output* out, const char* text, size_t length);
void settle_output(output* out);

// The line feeds put so far, written or waiting, when the buffer counts them.
[[nodiscard]] unsigned long lines_put(const output* out);

// Writes what is waiting; true when any write to the descriptor failed.
[[nodiscard]] bool flush_output(output* out);
