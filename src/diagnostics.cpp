// How the command line prints its messages and the translator's.
#include "diagnostics.h"

#include "listing.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char* program_name = "Zolvek";   // replaced by argv[0] when the system passes one
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

// "NAME: [warning: ]TEXT" and a line feed.
void report_as(const char* name, severity level, const char* format, va_list arguments) {
    std::fprintf(stderr, "%s: %s", name, counted_word(level, ""));
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

} // namespace

void set_program_name(const char* name) {
    program_name = name;
}

unsigned warning_count() {
    return warnings;
}

void use_gnu_diagnostics(const char* source_name) {
    gnu_source_name = source_name;
}

void report(severity level, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    report_as(program_name, level, format, arguments);
    va_end(arguments);
}

void report_source_warning(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    report_as(gnu_source_name != nullptr ? gnu_source_name : program_name, SEVERITY_WARNING, format,
              arguments);
    va_end(arguments);
}

void report_failure(int error_number, const char* format, ...) {
    std::fprintf(stderr, "%s: ", program_name);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    if (gnu_source_name != nullptr && error_number != 0) {
        std::fprintf(stderr, ": %s", std::strerror(error_number));
    }
    std::fputc('\n', stderr);
}

void print_source_message(void* listing_context, const source_message& message) {
    static char text[1 << 16];
    const unsigned line = static_cast<unsigned>(message.line);
    const int prefix = gnu_source_name != nullptr
                           ? std::snprintf(text, sizeof text, "%s:%u: %s", gnu_source_name, line,
                                           counted_word(message.level, "error: "))
                           : std::snprintf(text, sizeof text, "%s: line %u: %s", program_name, line,
                                           counted_word(message.level, ""));
    size_t length = prefix > 0 ? static_cast<size_t>(prefix) : 0;
    length = length < sizeof text ? length : sizeof text - 1;
    const int written = std::snprintf(text + length, sizeof text - length, "%s", message.text);
    length += written > 0 ? static_cast<size_t>(written) : 0;
    length = length < sizeof text - 1 ? length : sizeof text - 2;
    text[length++] = '\n';
    std::fwrite(text, 1, length, stderr);
    if (listing_context != nullptr) {
        list_message(static_cast<listing*>(listing_context), message.line, text, length);
    }
}
