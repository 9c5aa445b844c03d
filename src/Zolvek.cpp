// Zolvek: converts an Event Processor source (.ep) into a C header holding the
// program as a const uint8_t array of instruction macros.

#include "platform.h"
#include "state.h"
#include "translator.h"

#include <cstdio>
#include <cstring>

#ifndef ZOLVEK_VERSION
#define ZOLVEK_VERSION "0.0.0"
#endif

void ShowUsage() {
    std::printf("%s\n", "\nUsage:  Zolvek <filename>\n");
    std::printf("%s\n", "\tInput File:");
    std::printf("%s\n", "\t\t- Default file extension is .ep");
    std::printf("%s\n", "\t\t- Contains Event Processor assembler instructions, comment lines\n");
    std::printf("%s\n", "\tOutput File:");
    std::printf("%s\n", "\t\t- Default file extension is .h (to include in C code)");
    std::printf("%s\n", "\t\t- Contains const uint8_t <filename>[] = { .... };\n");
}

namespace {

constexpr unsigned MAX_BASE_NAME_CHARS = 253;
constexpr unsigned OUTPUT_NAME_SIZE = 256; // base name, ".h" and the NUL

char line_buffer[LINE_BUFFER_SIZE];
char output_name[OUTPUT_NAME_SIZE];
char output_buffer[1 << 16]; // fewer, larger writes than the default buffer

void print_banner() {
    std::fputs("\n\nZolvek - R7Q52M40 Event Processor intruction converter\n", stdout);
    std::fputs("Version " ZOLVEK_VERSION
               " - turns an Event Processor source (.ep) into a C header (.h)\n\n",
               stdout);
}

bool is_c_identifier(const char* name) {
    auto is_letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    if (!is_letter(name[0])) {
        return false;
    }
    for (const char* p = name + 1; *p != '\0'; ++p) {
        if (!is_letter(*p) && !(*p >= '0' && *p <= '9')) {
            return false;
        }
    }
    return true;
}

int usage_exit() {
    ShowUsage();
    return 1;
}

// Once the output stage has begun, a failed run leaves no header of this name.
int failure_exit(FILE* out) {
    const char* undeleted = discard_output(out);
    if (undeleted != nullptr) {
        std::fprintf(stderr, "%s: unable to delete output file '%s'\n", asname, undeleted);
    }
    return usage_exit();
}

// A control character in the array name would let a file name inject lines
// (#include, #error) into a header that a firmware build compiles.
bool has_control_character(const char* name) {
    for (const char* p = name; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    guard_standard_streams();
    print_banner();
    if (argc > 0 && argv[0] != nullptr) {
        asname = argv[0];
    }
    if (argc < 2) {
        std::fprintf(stderr, "%s: no input file name supplied\n\n", asname);
        return usage_exit();
    }

    char* input_name = argv[1];
    FILE* in = std::fopen(input_name, "r");
    // A directory opens on some systems but cannot be read as a source.
    if (in != nullptr && is_directory(in)) {
        std::fclose(in);
        in = nullptr;
    }
    if (in == nullptr) {
        std::fprintf(stderr, "%s: unable to open input file '%s'\n\n", asname, input_name);
        return usage_exit();
    }

    // The base name is the whole path up to its first '.', directory parts included.
    char* dot = std::strchr(input_name, '.');
    if (dot != nullptr) {
        *dot = '\0';
    }
    const char* base_name = input_name;
    if (std::strlen(base_name) > MAX_BASE_NAME_CHARS) {
        std::fprintf(stderr, "%s: input file name exceeds %u chars\n\n", asname,
                     MAX_BASE_NAME_CHARS);
        std::fclose(in);
        return usage_exit();
    }
    if (has_control_character(base_name)) {
        std::fprintf(stderr, "%s: input file name contains a control character\n\n", asname);
        std::fclose(in);
        return usage_exit();
    }
    std::snprintf(output_name, sizeof output_name, "%s.h", base_name);

    // Writing the output must never touch the source.
    bool output_is_input = is_same_file(in, output_name);
    FILE* out = output_is_input ? nullptr : begin_output(in, output_name, &output_is_input);
    if (output_is_input) {
        std::fprintf(stderr, "%s: output file '%s' is the input file\n\n", asname, output_name);
        std::fclose(in);
        return usage_exit();
    }
    if (out == nullptr) {
        std::fprintf(stderr, "%s: unable to open output file '%s'\n", asname, output_name);
        return usage_exit();
    }
    std::setvbuf(out, output_buffer, _IOFBF, sizeof output_buffer);
    if (!is_c_identifier(base_name)) {
        std::fprintf(stderr, "%s: warning: array name '%s' is not a valid C identifier\n", asname,
                     base_name);
    }
    write_opening(out, base_name);

    const read_result result = translate_source(in, out, line_buffer);
    if (result == READ_ERROR) {
        if (dot != nullptr) {
            *dot = '.'; // report the input by the name it was given
        }
        std::fprintf(stderr, "%s: error reading input file '%s'\n", asname, input_name);
    }
    if (result != READ_OK) {
        return failure_exit(out);
    }
    write_closing(out);
    if (commit_output(out)) {
        std::fprintf(stderr, "%s: error writing output file '%s'\n", asname, output_name);
        return failure_exit(nullptr); // already closed
    }

    std::printf("Origin:  0x%08X%s", static_cast<unsigned>(origin), "\n");
    std::printf("Code Size:  %u bytes%s", static_cast<unsigned>(pc - origin), "\n");
    std::fclose(in);
    return 0;
}
