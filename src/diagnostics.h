// Every message of the program goes through here, so that all of them share one
// form: "NAME: TEXT", "NAME: line N: TEXT", or with --diagnostics=gnu, for the
// messages about a source line, "FILE:LINE: error: TEXT" that editors jump to.
#pragma once

#if defined(__GNUC__)
#define ZOLVEK_PRINTF(format_index) __attribute__((format(printf, format_index, format_index + 1)))
#else
#define ZOLVEK_PRINTF(format_index)
#endif

enum severity { SEVERITY_ERROR, SEVERITY_WARNING };

// From here on, messages about source lines name `source_name` (the input as
// given) in the form compilers use.
void use_gnu_diagnostics(const char* source_name);

// The number of warnings reported so far.
[[nodiscard]] unsigned warning_count();

// A message about the run as a whole, on standard error, ended by a line feed.
void report(severity level, const char* format, ...) ZOLVEK_PRINTF(2);

// An error about a file the system failed to open, read, write, rename or
// delete, ended by a line feed; with --diagnostics=gnu the system's reason for
// error_number follows the text (": Too many open files").
void report_failure(int error_number, const char* format, ...) ZOLVEK_PRINTF(2);

// A message about the source line being translated (linenum).
void report_line(severity level, const char* format, ...) ZOLVEK_PRINTF(2);

// A message about an earlier source line, found only once a later one is read.
void report_earlier_line(unsigned line, severity level, const char* format, ...) ZOLVEK_PRINTF(3);
