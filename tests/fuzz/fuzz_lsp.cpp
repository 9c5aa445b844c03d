// libFuzzer entry: arbitrary bytes as the language server's input, read message
// by message as the server reads them. Besides the sanitizers, it checks that a
// body is never larger than the input nor than the limit, and that reading ends.
#include "lsp_transport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An empty buffer cannot be opened as a memory stream; /dev/null reads as empty.
    FILE* in =
        size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<uint8_t*>(data), size, "r");
    std::string body;
    size_t read = 0;
    while (read_message(in, &body) == MESSAGE_READ) {
        read += body.size();
        if (body.size() > MAX_CONTENT_LENGTH || read > size) {
            std::abort();
        }
    }
    std::fclose(in);
    return 0;
}
