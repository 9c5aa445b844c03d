// The few things the driver needs from the operating system beyond standard C++.
#pragma once

#include <cstdio>

// True when the open stream is a directory, which some systems let fopen open.
bool is_directory(FILE* file);

// True when path names the very file the stream has open (a link or another
// spelling of the same path included).
bool is_same_file(FILE* file, const char* path);

// Opens the output for writing in text mode, creating or truncating it, like
// fopen(path, "w"), in a way that lets an interrupt delete it.
FILE* open_output(const char* path);

// From here until forget_output_on_interrupt, an interrupt (Ctrl-C, a kill from
// the build, a closed terminal) deletes the file named by `path` before the
// process ends with the signal's usual status. `path` must stay valid; the
// handler only reads it. Interrupts that were being ignored stay ignored.
void remove_output_on_interrupt(const char* path);
void forget_output_on_interrupt();
