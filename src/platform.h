// The few things the driver needs from the operating system beyond standard C++:
// the standard streams, the identity of files, and an output stage that never
// leaves a partial header under the header's name.
#pragma once

#include <cstddef>
#include <cstdio>

// The longest path the system accepts, in bytes with the closing NUL: longer
// names are refused, never cut short.
#ifdef _WIN32
constexpr size_t PATH_CAPACITY = 32768;
#else
constexpr size_t PATH_CAPACITY = 4096;
#endif

// Opens the null device on each standard stream that is closed, so that no file
// opened later takes its place and receives the diagnostics. Failed writes to a
// pipe or past a file-size limit are reported as write errors instead of ending
// the process.
void guard_standard_streams();

// The command line's words in UTF-8 where the system gives them in another form
// (Windows, whose ANSI arguments would replace some characters with look-alikes);
// elsewhere argv itself. *invalid is set to the number (from 1 after the
// program's name) of the first argument that is not valid Unicode, else 0.
[[nodiscard]] char** utf8_arguments(int* argc, char** argv, int* invalid);

// True when the name stands for a device that is never opened, whatever
// directory it names (Windows: AUX, PRN, COM1-COM9, LPT1-LPT9, with any
// extension, in any case); a serial port could block the run. Never elsewhere.
[[nodiscard]] bool is_reserved_device(const char* path);

// True when the name's last component is longer than a file system takes: 255
// bytes (on Windows 255 UTF-16 units).
[[nodiscard]] bool is_name_too_long(const char* path);

// Opens the source for reading in text mode, as fopen(path, "r") does, for a name
// of any length the system allows; a reserved device is refused (EACCES).
[[nodiscard]] FILE* open_input(const char* path);

// True when the open stream is a directory, which some systems let fopen open.
[[nodiscard]] bool is_directory(FILE* file);

// True when path names the very file the stream has open (a link or another
// spelling of the same path included).
[[nodiscard]] bool is_same_file(FILE* file, const char* path);

// Why begin_output gave no output.
enum output_refusal {
    OUTPUT_UNAVAILABLE,   // the system refused it; errno says why
    OUTPUT_IS_INPUT,      // it is the input file
    OUTPUT_NAME_TOO_LONG, // the name, or its temporary file's, exceeds the system's limits
};

// True when the two output names lead to the same file, existing or not.
[[nodiscard]] bool is_same_output(const char* first, const char* second);

// What an output name holds before the run writes it.
enum existing_output {
    EXISTING_NONE,       // nothing, an empty file, a device or a FIFO
    EXISTING_DIRECTORY,  // a directory, which no file can replace
    EXISTING_CONTENT,    // a regular file that is not empty: its first bytes were read
    EXISTING_UNREADABLE, // a regular file that cannot be read; errno says why
};

// Reads the first bytes (at most size) of the regular file that path names,
// followed through links, into start without opening anything that is not a
// regular file (a device could block, or change when opened).
[[nodiscard]] existing_output read_existing_output(const char* path, char* start, size_t size,
                                                   size_t* length);

// The temporary file beside the file it replaces is named after it,
// ".prog.h.zolvek-XXXXXX", unless that would exceed the 255 characters a name
// may have: then ".zolvek-XXXXXX".
constexpr size_t TEMP_NAME_EXTRA = sizeof "..zolvek-XXXXXX" - 1;
[[nodiscard]] constexpr bool temp_name_fits(size_t name_length) {
    return name_length + TEMP_NAME_EXTRA <= 255;
}

// A file of the output stage, from begin_output until it is committed or
// discarded; the caller holds it. A run has at most MAX_PENDING_OUTPUTS at once.
struct pending_output;
constexpr int MAX_PENDING_OUTPUTS = 3;

// Starts writing the output file named path. A regular file (or a missing one,
// or the missing target of a link) is written to a new temporary file beside
// it, so the name holds the earlier file until commit_output puts the complete
// one in its place; a device or FIFO is written directly. From here until the
// commit begins, an interrupting signal deletes the temporary file and the name
// before the process ends with it. True when the file cannot be written, the
// earlier file kept: *refusal says why, and for OUTPUT_UNAVAILABLE errno.
[[nodiscard]] bool begin_output(FILE* input, const char* path, FILE** file,
                                pending_output** pending, output_refusal* refusal);

// The commit of a run's outputs, all of them between begin_commit and
// end_commit: from its beginning a signal waits for its end, and then ends the
// process without undoing what was committed, so that no signal lands between
// the header's commit and the listing's. end_commit is told whether every
// output was put in place; if not, a signal after it deletes them all.
void begin_commit();
void end_commit(bool committed);

// Closes the output and puts it in place, inside the commit. True when a write,
// the close or the replacement failed; the caller then calls discard_output.
[[nodiscard]] bool commit_output(pending_output* pending, FILE* out);

// What discard_output could not remove: each name, or null, with the system's
// reason.
struct undeleted_files {
    const char* temporary;
    int temporary_reason;
    const char* name;
    int name_reason;
};

// After a failure: closes the output unless it is null (already closed), removes
// the temporary file and the name (never a device). True when either remains;
// *undeleted says which.
[[nodiscard]] bool discard_output(pending_output* pending, FILE* out, undeleted_files* undeleted);
