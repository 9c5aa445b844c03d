// The output files of a run as the driver sees them: checked, opened, committed
// or discarded, each with its messages.
#pragma once

#include "output.h"
#include "platform.h"

#include <cstdio>

// The files of a run's output stage, each written under the same promise.
enum output_file {
    HEADER_FILE,
    LISTING_FILE,
    DECLARATIONS_FILE,
};

// Before the output stage: refuses an output name that is the input, a
// directory, or a file with content that this program did not write, which no
// run may replace or delete. True when refused (reported).
[[nodiscard]] bool refuse_output_name(output_file which, FILE* input, const char* name);

// An output file of the run while it is written: its stream, the platform's
// hold on it, and its name. All null until opened and again once closed, put
// in place or discarded.
struct run_output {
    FILE* file;
    pending_output* pending;
    const char* name;
};

// Opens the output file `name` for writing through the platform's output stage.
// True when it cannot be (reported); *out is then empty.
[[nodiscard]] bool open_output(FILE* input, const char* name, run_output* out);

// Writes what waits in the buffer. True when a write failed: reported, and the
// file discarded.
[[nodiscard]] bool finish_output(output* buffer, run_output* out);

// Puts the files in place in the order given (the header before the listing),
// with no moment between them at which a signal can end the run. True when one
// failed: reported, and all discarded (those already in place included), since
// the run failed.
[[nodiscard]] bool commit_outputs(run_output* const* outputs, size_t count);

// After a failure: closes the file unless it is null (already closed) and
// removes it, reporting each name that remains.
void discard(run_output* out);
