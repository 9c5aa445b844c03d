// The output files of a run as the driver sees them: checked, opened, committed
// or discarded, each with its messages.
#pragma once

#include "output.h"
#include "platform.h"

#include <cstdio>

// Before the output stage: refuses an output name that is the input, a
// directory, or a file with content that this program did not write, which no
// run may replace or delete. True when refused (reported).
[[nodiscard]] bool refuse_output_name(output_file which, FILE* input, const char* name);

// Opens the output file `name` for writing through the platform's output stage.
// True when it cannot be (reported); *file is then null.
[[nodiscard]] bool open_output(output_file which, FILE* input, const char* name, FILE** file);

// Writes what waits in the buffer. True when a write failed: reported, and the
// file discarded.
[[nodiscard]] bool finish_output(output_file which, output* buffer, FILE* file, const char* name);

// An output file that has been written out, ready to be put in place.
struct finished_output {
    output_file which;
    FILE* file;
    const char* name;
};

// Puts the files in place in the order given (the header before the listing),
// with no moment between them at which a signal can end the run. True when one
// failed: reported, and all discarded (those already in place included), since
// the run failed.
[[nodiscard]] bool commit_outputs(const finished_output* outputs, size_t count);

// After a failure: closes the file unless it is null (already closed) and
// removes it, reporting each name that remains.
void discard(output_file which, FILE* file);
