// The few things the driver needs from the operating system beyond standard C++:
// the standard streams, the identity of files, and an output stage that never
// leaves a partial header under the header's name.
#pragma once

#include <cstdio>

// Opens the null device on each standard stream that is closed, so that no file
// opened later takes its place and receives the diagnostics. Failed writes to a
// pipe or past a file-size limit are reported as write errors instead of ending
// the process.
void guard_standard_streams();

// The command line's words in UTF-8 where the system gives them in another form
// (Windows, whose ANSI arguments would replace some characters with look-alikes);
// elsewhere argv itself.
char** utf8_arguments(int* argc, char** argv);

// Opens the source for reading in text mode, as fopen(path, "r") does, for a name
// of any length the system allows.
FILE* open_input(const char* path);

// True when the open stream is a directory, which some systems let fopen open.
bool is_directory(FILE* file);

// True when path names the very file the stream has open (a link or another
// spelling of the same path included).
bool is_same_file(FILE* file, const char* path);

// Starts writing the header named path. A regular file (or a missing one) is
// written to a new temporary file beside it, so the name holds the earlier
// header until commit_output puts the complete one in its place; a device or
// FIFO is written directly. From here until commit_output or discard_output,
// an interrupting signal deletes the temporary file and the header name before
// the process ends with it. Null when the header cannot be written; *is_input
// is then set when the reason is that it is the input file.
FILE* begin_output(FILE* input, const char* path, bool* is_input);

// Closes the output and puts it in place. True when a write, the close or the
// replacement failed; the caller then calls discard_output.
bool commit_output(FILE* out);

// After a failure: closes the output unless it is null (already closed), removes
// the temporary file and the header name (never a device). Returns the name that
// could not be deleted, or null.
const char* discard_output(FILE* out);
