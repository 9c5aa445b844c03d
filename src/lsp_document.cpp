// A document's translation for the language server, and its positions.
#include "lsp_document.h"

namespace {

void keep_message(void* context, const source_message& message) {
    static_cast<document_analysis*>(context)->messages.push_back(
        {message.line, message.first_column, message.last_column, message.level, message.text});
}

void keep_row(void* context, const layout_row& row) {
    static_cast<document_analysis*>(context)->rows.push_back(
        {row.kind, row.line, row.first_column, row.last_column, row.address, row.size,
         std::string(row.text, row.length)});
}

// The UTF-16 code units of the UTF-8 sequence that starts with `lead`: two for
// a four-byte sequence, else one (a stray byte counts as one).
unsigned units_of(unsigned char lead) {
    return lead >= 0xF0 ? 2 : 1;
}

bool continues(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

document_analysis analyse(const std::string& text) {
    document_analysis result = {};
    translation t = start_translation(nullptr, keep_message, keep_row, &result);
    output out;
    open_output_sink(&out, nullptr, nullptr);
    std::vector<char> block(INPUT_BUFFER_SIZE);
    static_cast<void>(translate_text(&t, text.data(), text.size(), &out, block.data()));
    result.origin_found = t.org_found;
    result.origin = t.origin;
    result.origin_line = t.origin_line;
    result.code_size = code_size(t);
    result.array_size = array_size(t);
    return result;
}

std::string line_text(const std::string& text, uint32_t line) {
    size_t start = 0;
    for (uint32_t i = 0; i < line; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos) {
            return "";
        }
        ++start;
    }
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end;
    if (end > start && text[end - 1] == '\r') {
        --end;
    }
    return text.substr(start, end - start);
}

unsigned utf16_units(const std::string& line, size_t bytes) {
    unsigned units = 0;
    for (size_t i = 0; i < bytes && i < line.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(line[i]);
        units += continues(byte) ? 0 : units_of(byte);
    }
    return units;
}

size_t byte_offset(const std::string& line, unsigned units) {
    size_t i = 0;
    for (unsigned counted = 0; i < line.size() && counted < units;) {
        counted += units_of(static_cast<unsigned char>(line[i]));
        ++i;
        while (i < line.size() && continues(static_cast<unsigned char>(line[i]))) {
            ++i;
        }
    }
    return i;
}
