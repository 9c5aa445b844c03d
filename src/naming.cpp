// Whether a name can be the array's in C: an identifier, no C keyword, no
// mnemonic.
#include "naming.h"

#include "inst_table.h"

#include <cstring>

namespace {

// The keywords of C99, C11 and C23.
const char* const C_KEYWORDS[] = {
    "alignas",
    "alignof",
    "auto",
    "bool",
    "break",
    "case",
    "char",
    "const",
    "constexpr",
    "continue",
    "default",
    "do",
    "double",
    "else",
    "enum",
    "extern",
    "false",
    "float",
    "for",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "nullptr",
    "register",
    "restrict",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "static_assert",
    "struct",
    "switch",
    "thread_local",
    "true",
    "typedef",
    "typeof",
    "typeof_unqual",
    "union",
    "unsigned",
    "void",
    "volatile",
    "while",
    "_Alignas",
    "_Alignof",
    "_Atomic",
    "_BitInt",
    "_Bool",
    "_Complex",
    "_Decimal128",
    "_Decimal32",
    "_Decimal64",
    "_Generic",
    "_Imaginary",
    "_Noreturn",
    "_Static_assert",
    "_Thread_local",
};

bool is_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_c_identifier(const char* name) {
    if (!is_letter(name[0])) {
        return false;
    }
    for (const char* p = name + 1; *p != '\0'; ++p) {
        if (!is_letter(*p) && !is_digit(*p)) {
            return false;
        }
    }
    return true;
}

bool is_separator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

bool is_c_keyword(const char* name) {
    for (const char* keyword : C_KEYWORDS) {
        if (std::strcmp(name, keyword) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

bool has_control_character(const char* name) {
    for (const char* p = name; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) {
            return true;
        }
    }
    return false;
}

bool c_name_of(const char* path, char* name, size_t capacity) {
    const char* start = path;
    for (const char* at = path; *at != '\0'; ++at) {
        start = is_separator(*at) ? at + 1 : start;
    }
    const size_t length = std::strcspn(start, ".");
    const bool prefixed = is_digit(start[0]);
    if (length + (prefixed ? 1 : 0) >= capacity) {
        return true;
    }
    char* at = name;
    if (prefixed) {
        *at++ = '_';
    }
    for (size_t i = 0; i < length; ++i) {
        *at++ = is_letter(start[i]) || is_digit(start[i]) ? start[i] : '_';
    }
    *at = '\0';
    return false;
}

const char* array_name_fault(const char* name) {
    if (!is_c_identifier(name)) {
        return "array name '%s' is not a valid C identifier";
    }
    if (is_c_keyword(name)) {
        return "array name '%s' is a C keyword";
    }
    if (find_instruction(name, std::strlen(name)) != nullptr) {
        return "array name '%s' is an instruction name";
    }
    return nullptr;
}
