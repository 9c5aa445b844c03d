// The command line's messages, all in one form: "NAME: TEXT", "NAME: line N:
// TEXT", or with --diagnostics=gnu, for the messages about a source line,
// "FILE:LINE: error: TEXT" that editors jump to.
#pragma once

#include "translator.h"

#if defined(__GNUC__)
#define ZOLVEK_PRINTF(format_index) __attribute__((format(printf, format_index, format_index + 1)))
#else
#define ZOLVEK_PRINTF(format_index)
#endif

// The name every message begins with: the program's, as it was invoked.
void set_program_name(const char* name);

// From here on, messages about source lines name `source_name` (the input as
// given) in the form compilers use.
void use_gnu_diagnostics(const char* source_name);

// The number of warnings reported so far.
[[nodiscard]] unsigned warning_count();

// A message about the run as a whole, on standard error, ended by a line feed.
void report(severity level, const char* format, ...) ZOLVEK_PRINTF(2);

// A warning about the source as a whole (its name as the array's): with
// --diagnostics=gnu it names the source, "FILE: warning: TEXT", for editors.
void report_source_warning(const char* format, ...) ZOLVEK_PRINTF(1);

// An error about a file the system failed to open, read, write, rename or
// delete, ended by a line feed; with --diagnostics=gnu the system's reason for
// error_number follows the text (": Too many open files").
void report_failure(int error_number, const char* format, ...) ZOLVEK_PRINTF(2);

// The translation's message_sink: prints a message about a source line, and
// keeps it for the listing when `listing` (a listing*) is not null.
void print_source_message(void* listing, const source_message& message);
