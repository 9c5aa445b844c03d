// libFuzzer entry: arbitrary bytes through the translator library's public
// interface, with #line directives, a listing and labels kept as the input's
// length picks, twice: from a stream and from memory, each a fresh translation.
// Besides the sanitizers, it checks what must hold for any input: both give the
// same header, messages and layout; messages name lines in rising order with at
// most one error a line; and a run fails exactly when one of them is an error.
#include "listing.h"
#include "translator.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// What one translation gave: the header, the listing, and its messages and
// layout rows as text.
struct result {
    std::string header;
    std::string listing_text;
    std::string records;
    unsigned last_line;
    unsigned last_error_line;
    bool any_error;
    read_result read;
};

struct run {
    result* got;
    listing* rows; // null without a listing
};

bool append(void* text, const char* data, size_t length, int*) {
    static_cast<std::string*>(text)->append(data, length);
    return false;
}

void take_message(void* context, const source_message& message) {
    result* got = static_cast<run*>(context)->got;
    const bool error = message.level == SEVERITY_ERROR;
    if (message.line < got->last_line || (error && message.line == got->last_error_line) ||
        message.first_column > message.last_column) {
        std::abort();
    }
    got->last_line = message.line;
    got->last_error_line = error ? message.line : got->last_error_line;
    got->any_error = got->any_error || error;
    got->records += std::to_string(message.line) + ':' + std::to_string(message.first_column) +
                    '-' + std::to_string(message.last_column) + (error ? " E " : " W ") +
                    message.text + '\n';
}

void take_row(void* context, const layout_row& row) {
    run* r = static_cast<run*>(context);
    r->got->records += std::to_string(row.kind) + ' ' + std::to_string(row.line) + ' ' +
                       std::to_string(row.address) + ' ' + std::to_string(row.size) + ' ' +
                       std::string(row.text, row.length) + '\n';
    if (r->rows != nullptr) {
        list_row(r->rows, row);
    }
}

listing rows;
output header;
output listing_output;
char block[INPUT_BUFFER_SIZE];

// Translates the input from a stream or from memory into *got.
void translate(const uint8_t* data, size_t size, bool from_stream, result* got) {
    const bool listed = (size & 2) != 0;
    run r = {got, listed ? &rows : nullptr};
    translation t =
        start_translation((size & 1) != 0 ? "fuzz.ep" : nullptr, take_message, take_row, &r);
    t.keep_labels = (size & 4) != 0;
    open_output_sink(&header, append, &got->header);
    open_output_sink(&listing_output, append, &got->listing_text);
    if (listed) {
        start_listing(&rows, &listing_output);
    }
    write_opening(&header, "fuzz");
    if (from_stream) {
        // An empty buffer cannot be opened as a memory stream; /dev/null reads as empty.
        FILE* in = size == 0 ? std::fopen("/dev/null", "r")
                             : fmemopen(const_cast<uint8_t*>(data), size, "r");
        got->read = translate_source(&t, in, &header, block);
        std::fclose(in);
    } else {
        got->read = translate_text(&t, reinterpret_cast<const char*>(data), size, &header, block);
    }
    if (listed) {
        list_messages(&rows);
    }
    if (got->read == READ_OK) {
        write_closing(t, &header);
        write_defines(t, &header, "fuzz");
        if (listed) {
            list_closing(&rows, t);
        }
    }
    static_cast<void>(flush_output(&header)); // a string takes everything
    static_cast<void>(flush_output(&listing_output));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16)) {
        return 0; // larger inputs find nothing new, slowly
    }
    result streamed = {};
    result in_memory = {};
    translate(data, size, true, &streamed);
    translate(data, size, false, &in_memory);
    if (streamed.any_error != (streamed.read != READ_OK) || streamed.header != in_memory.header ||
        streamed.listing_text != in_memory.listing_text || streamed.records != in_memory.records ||
        streamed.read != in_memory.read) {
        std::abort();
    }
    return 0;
}
