#include "diagnostics.h"

#include "listing.h"
#include "state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char* gnu_source_name = nullptr; // null: the classic form
unsigned warnings = 0;

// The word before a message's text, with each warning counted as it goes out.
const char* counted_word(severity level, const char* error_word) {
    if (level != SEVERITY_WARNING) {
        return error_word;
    }
    ++warnings;
    return "warning: ";
}

void finish(const char* format, va_list arguments) {
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

// A message about a source line also goes into the listing, after the line's row.
void report_on(unsigned line, severity level, const char* format, va_list arguments) {
    static char message[1 << 16];
    const int prefix = gnu_source_name != nullptr
                           ? std::snprintf(message, sizeof message, "%s:%u: %s", gnu_source_name,
                                           line, counted_word(level, "error: "))
                           : std::snprintf(message, sizeof message, "%s: line %u: %s", asname, line,
                                           counted_word(level, ""));
    size_t length = prefix > 0 ? static_cast<size_t>(prefix) : 0;
    length = length < sizeof message ? length : sizeof message - 1;
    const int text = std::vsnprintf(message + length, sizeof message - length, format, arguments);
    length += text > 0 ? static_cast<size_t>(text) : 0;
    length = length < sizeof message - 1 ? length : sizeof message - 2;
    message[length++] = '\n';
    std::fwrite(message, 1, length, stderr);
    if (listing != nullptr) {
        hold_message(message, length);
    }
}

} // namespace

unsigned warning_count() {
    return warnings;
}

void use_gnu_diagnostics(const char* source_name) {
    gnu_source_name = source_name;
}

void report(severity level, const char* format, ...) {
    std::fprintf(stderr, "%s: %s", asname, counted_word(level, ""));
    va_list arguments;
    va_start(arguments, format);
    finish(format, arguments);
    va_end(arguments);
}

void report_failure(int error_number, const char* format, ...) {
    std::fprintf(stderr, "%s: ", asname);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    if (gnu_source_name != nullptr && error_number != 0) {
        std::fprintf(stderr, ": %s", std::strerror(error_number));
    }
    std::fputc('\n', stderr);
}

void report_line(severity level, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    report_on(static_cast<unsigned>(linenum), level, format, arguments);
    va_end(arguments);
}

void report_earlier_line(unsigned line, severity level, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    report_on(line, level, format, arguments);
    va_end(arguments);
}
