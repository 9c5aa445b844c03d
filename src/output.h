// An output file's bytes go through one owned buffer, written to the file's
// descriptor in large blocks; the first failed write keeps the system's reason,
// which the driver reports.
#pragma once

#include <cstddef>
#include <cstdio>

struct output {
    int fd;           // where the bytes go (a text-mode descriptor on Windows)
    bool failed;      // a write failed; later ones are skipped
    int error_number; // the system's reason for that failure
    size_t used;      // bytes waiting in data
    bool count_lines; // line feeds written are counted (see lines_put)
    unsigned long lines_written;
    char data[1 << 18];
};

// Starts an empty buffer in front of the stream's descriptor, which it writes
// directly (the stream itself is only closed).
void open_output_buffer(output* out, FILE* file);

// Adds text to what is waiting, writing the buffer out when it is full.
void put(output* out, const char* text, size_t length);
void put_text(output* out, const char* text);

// The line feeds put so far, written or waiting, when the buffer counts them.
[[nodiscard]] unsigned long lines_put(const output* out);

// Writes what is waiting; true when any write to the descriptor failed.
[[nodiscard]] bool flush_output(output* out);
