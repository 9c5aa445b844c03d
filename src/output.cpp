// The buffer in front of an output.
#include "output.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#define write_some(fd, data, size) _write(fd, data, static_cast<unsigned>(size))
#define fileno _fileno
#else
#include <unistd.h>
#define write_some(fd, data, size) write(fd, data, size)
#endif

namespace {

unsigned long count_line_feeds(const char* data, size_t size) {
    return static_cast<unsigned long>(std::count(data, data + size, '\n'));
}

void write_all(output* out, const char* data, size_t size) {
    if (out->count_lines) {
        out->lines_written += count_line_feeds(data, size);
    }
    if (out->fd < 0) {
        if (size > 0 && !out->failed && out->sink != nullptr) {
            out->failed = out->sink(out->context, data, size, &out->error_number);
        }
        return;
    }
    while (size > 0 && !out->failed) {
        const auto written = write_some(out->fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            out->failed = true;
            out->error_number = written < 0 ? errno : EIO;
        }
        data += written > 0 ? written : 0;
        size -= written > 0 ? static_cast<size_t>(written) : 0;
    }
}

} // namespace

void open_output_buffer(output* out, FILE* file) {
    open_output_sink(out, nullptr, nullptr);
    out->fd = fileno(file);
}

void open_output_sink(output* out, byte_sink sink, void* context) {
    out->fd = -1;
    out->staged = nullptr;
    out->staged_length = 0;
    out->sink = sink;
    out->context = context;
    out->failed = false;
    out->error_number = 0;
    out->used = 0;
    out->count_lines = false;
    out->lines_written = 0;
}

void put(output* out, const char* text, size_t length) {
    if (out->staged_length != 0) {
        settle_output(out);
    }
    if (length > sizeof out->data - out->used) {
        write_all(out, out->data, out->used); // a failure is kept in out
        out->used = 0;
        if (length > sizeof out->data) {
            write_all(out, text, length);
            return;
        }
    }
    std::memcpy(out->data + out->used, text, length);
    out->used += length;
}

void put_text(output* out, const char* text) {
    put(out, text, std::strlen(text));
}

void put_in_place(output* out, const char* text, size_t length) {
    if (text == out->staged + out->staged_length) {
        out->staged_length += length;
        return;
    }
    settle_output(out);
    out->staged = text;
    out->staged_length = length;
}

void settle_output(output* out) {
    const size_t length = out->staged_length;
    out->staged_length = 0;
    if (length != 0) {
        put(out, out->staged, length);
    }
}

unsigned long lines_put(const output* out) {
    return out->lines_written + count_line_feeds(out->data, out->used) +
           count_line_feeds(out->staged, out->staged_length);
}

bool flush_output(output* out) {
    settle_output(out);
    write_all(out, out->data, out->used);
    out->used = 0;
    return out->failed;
}
