// The output files of a run as the driver sees them: opened, completed or
// discarded, each with its messages.
#pragma once

#include "output.h"
#include "platform.h"

#include <cstdio>

// Opens the output file `name` for writing through the platform's output stage.
// True when it cannot be (reported); *file is then null.
[[nodiscard]] bool open_output(output_file which, FILE* input, const char* name, FILE** file);

// Writes what waits in the buffer and puts the file in its place. True when that
// failed: reported, and the file discarded.
[[nodiscard]] bool complete_output(output_file which, output* buffer, FILE* file, const char* name);

// After a failure: closes the file unless it is null (already closed) and
// removes it, reporting each name that remains.
void discard(output_file which, FILE* file);
