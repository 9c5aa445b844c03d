// libFuzzer entry: arbitrary bytes through the conversion path the program runs,
// from the reading loop with its line limit to the closing frame.
#include "state.h"
#include "translator.h"

#include <cstdint>
#include <cstdio>

namespace {

char line_buffer[LINE_BUFFER_SIZE];
FILE* null_output = nullptr;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (null_output == nullptr) {
        null_output = std::fopen("/dev/null", "w");
    }
    // An empty buffer cannot be opened as a memory stream; /dev/null reads as empty.
    FILE* in =
        size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<uint8_t*>(data), size, "r");

    reset_translation_state();
    write_opening(null_output, "fuzz");
    if (translate_source(in, null_output, line_buffer) == READ_OK) {
        write_closing(null_output);
    }
    std::fclose(in);
    return 0;
}
