// The language server's base protocol: each message is a header with its
// Content-Length, an empty line, and that many bytes of JSON.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The largest message body read; a longer one could not be skipped safely.
constexpr size_t MAX_CONTENT_LENGTH = size_t{64} << 20;

enum read_status {
    MESSAGE_READ,
    INPUT_ENDED,    // no further message: the stream ended, perhaps within one
    NO_LENGTH,      // a header without a valid Content-Length
    LENGTH_TOO_BIG, // a Content-Length over MAX_CONTENT_LENGTH (the body is not read)
};

// Reads the next message's body into *body.
[[nodiscard]] read_status read_message(FILE* in, std::string* body);

// Writes a message with its header and flushes it; true when that failed.
[[nodiscard]] bool write_message(FILE* out, const std::string& body);
