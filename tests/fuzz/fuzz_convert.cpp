// libFuzzer entry: arbitrary bytes through the conversion path the program runs,
// from the reading loop with its line limit to the closing frame, with #line
// directives and a listing as the input's length picks. Besides the
// sanitizers, it checks what must hold for any input: diagnostics name lines in
// rising order with at most one error a line, and the run fails exactly when one
// of them is an error rather than a warning.
#include "listing.h"
#include "state.h"
#include "translator.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace {

char input_buffer[INPUT_BUFFER_SIZE];
char diagnostics[1 << 22]; // room for the messages of any input the target takes
output null_output;
output null_listing;
FILE* null_file = nullptr;

void check_diagnostics(bool failed) {
    std::fflush(stderr);
    const ssize_t length = pread(STDERR_FILENO, diagnostics, sizeof diagnostics - 1, 0);
    diagnostics[length > 0 ? length : 0] = '\0';
    unsigned last_line = 0;
    unsigned last_error_line = 0;
    bool any_error = false;
    for (char* p = diagnostics; *p != '\0';) {
        char* end = std::strchr(p, '\n');
        unsigned line = 0;
        int text = 0;
        if (end == nullptr || std::sscanf(p, "Zolvek: line %u: %n", &line, &text) != 1 ||
            line < last_line) {
            std::abort();
        }
        const bool error = std::strncmp(p + text, "warning: ", 9) != 0;
        if (error && line == last_error_line) {
            std::abort();
        }
        last_line = line;
        last_error_line = error ? line : last_error_line;
        any_error = any_error || error;
        p = end + 1;
    }
    if (any_error != failed || ftruncate(STDERR_FILENO, 0) != 0 ||
        lseek(STDERR_FILENO, 0, SEEK_SET) != 0) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16)) {
        return 0; // larger inputs find nothing new, slowly
    }
    if (null_file == nullptr) {
        null_file = std::fopen("/dev/null", "w");
        dup2(fileno(std::tmpfile()), STDERR_FILENO); // diagnostics, read back after each run
    }
    // An empty buffer cannot be opened as a memory stream; /dev/null reads as empty.
    FILE* in =
        size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<uint8_t*>(data), size, "r");

    reset_translation_state();
    asname = "Zolvek";
    line_directive_name = (size & 1) != 0 ? "fuzz.ep" : nullptr;
    open_output_buffer(&null_listing, null_file);
    start_listing((size & 2) != 0 ? &null_listing : nullptr);
    open_output_buffer(&null_output, null_file);
    write_opening(&null_output, "fuzz");
    const read_result result = translate_source(in, &null_output, input_buffer);
    if (result == READ_OK) {
        write_closing(&null_output);
        if (listing != nullptr) {
            list_closing();
        }
    }
    static_cast<void>(flush_output(&null_output)); // /dev/null takes everything
    static_cast<void>(flush_output(&null_listing));
    std::fclose(in);
    check_diagnostics(result != READ_OK);
    return 0;
}
