#include "output.h"

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

void write_all(output* out, const char* data, size_t size) {
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
    out->fd = fileno(file);
    out->failed = false;
    out->error_number = 0;
    out->used = 0;
}

void put(output* out, const char* text, size_t length) {
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

bool flush_output(output* out) {
    write_all(out, out->data, out->used);
    out->used = 0;
    return out->failed;
}
