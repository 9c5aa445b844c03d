// Reading and writing the language server's framed messages.
#include "lsp_transport.h"

#include <cctype>
#include <cstring>

namespace {

// The longest header line taken; real ones are a few dozen bytes.
constexpr size_t MAX_HEADER_LINE = 1024;

// Reads one header line without its CR LF into line. False at the end of the
// input before any byte of it.
bool read_header_line(FILE* in, std::string* line, bool* too_long) {
    line->clear();
    *too_long = false;
    for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in)) {
        if (c == '\n') {
            if (!line->empty() && line->back() == '\r') {
                line->pop_back();
            }
            return true;
        }
        if (line->size() < MAX_HEADER_LINE) {
            line->push_back(static_cast<char>(c));
        } else {
            *too_long = true;
        }
    }
    return !line->empty();
}

// The value of a Content-Length line (any case, blanks allowed around it), or
// -1 when the line is another header or its value is no number.
long long content_length(const std::string& line) {
    static const char NAME[] = "content-length:";
    if (line.size() < sizeof NAME - 1) {
        return -1;
    }
    for (size_t i = 0; i < sizeof NAME - 1; ++i) {
        if (std::tolower(static_cast<unsigned char>(line[i])) != NAME[i]) {
            return -1;
        }
    }
    size_t at = sizeof NAME - 1;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
        ++at;
    }
    long long value = 0;
    const size_t digits = at;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
        value = value > (1LL << 40) ? value : value * 10 + (line[at] - '0');
    }
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
        ++at;
    }
    return at == digits || at != line.size() ? -1 : value;
}

} // namespace

read_status read_message(FILE* in, std::string* body) {
    std::string line;
    bool too_long = false;
    long long length = -1;
    bool any = false;
    while (read_header_line(in, &line, &too_long)) {
        any = true;
        if (line.empty()) {
            if (length < 0) {
                return NO_LENGTH;
            }
            if (static_cast<unsigned long long>(length) > MAX_CONTENT_LENGTH) {
                return LENGTH_TOO_BIG;
            }
            body->resize(static_cast<size_t>(length));
            const size_t got = length == 0 ? 0 : std::fread(&(*body)[0], 1, body->size(), in);
            return got == body->size() ? MESSAGE_READ : INPUT_ENDED;
        }
        const long long value = too_long ? -1 : content_length(line);
        length = value >= 0 ? value : length;
    }
    return any ? NO_LENGTH : INPUT_ENDED;
}

bool write_message(FILE* out, const std::string& body) {
    return std::fprintf(out, "Content-Length: %zu\r\n\r\n", body.size()) < 0 ||
           std::fwrite(body.data(), 1, body.size(), out) != body.size() || std::fflush(out) != 0;
}
