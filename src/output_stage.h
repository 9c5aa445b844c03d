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

// The files of a run, as commit_outputs puts them in place: null where there is
// none.
struct committed_files {
    FILE* header;
    const char* header_name;
    FILE* listing;
    const char* listing_name;
};

// Puts the header, then the listing, in place, with no moment between the two
// at which a signal can end the run. True when either failed: reported, and
// both discarded (a header already in place included), since the run failed.
[[nodiscard]] bool commit_outputs(const committed_files& files);

// Writes what waits in the buffer and puts the file in place on its own (the
// listing of a failed run). True when that failed: reported, and discarded.
[[nodiscard]] bool complete_output(output_file which, output* buffer, FILE* file, const char* name);

// After a failure: closes the file unless it is null (already closed) and
// removes it, reporting each name that remains.
void discard(output_file which, FILE* file);
