// The header's bytes go through one owned buffer that is filled with memcpy and
// written out in large blocks, so no statement or line costs a library call.
#pragma once

#include <cstddef>
#include <cstdio>

struct output {
    int fd;             // where the bytes go (a text-mode descriptor on Windows)
    bool failed;        // a write failed; later ones are skipped
    int error_number;   // the system's reason for that failure
    size_t used;        // bytes waiting in data
    const char* staged; // text put with put_in_place, still where it lies
    size_t staged_length;
    char data[1 << 18];
};

// Starts an empty buffer in front of the stream's descriptor, which it writes
// directly (the stream itself is only closed).
void open_output_buffer(output* out, FILE* file);

void put(output* out, const char* text, size_t length);
void put_text(output* out, const char* text);

// Puts text that stays unchanged where it lies until the next put, flush or
// settle_output: texts that follow each other in memory are copied as one.
void put_in_place(output* out, const char* text, size_t length);
// Copies the text put in place into the buffer, before its memory is reused.
void settle_output(output* out);

// Writes what is waiting; true when any write to the descriptor failed.
bool flush_output(output* out);
