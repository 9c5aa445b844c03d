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

// Once the output is open, a failed run must not leave a partial header behind.
int delete_output_exit() {
    std::remove(output_name);
    forget_output_on_interrupt();
    return usage_exit();
}

int failure_exit(FILE* out) {
    std::fclose(out);
    return delete_output_exit();
}

// Closes the array and the file; true when any write to it failed (a full disk).
bool finish_output(FILE* out) {
    write_closing(out);
    const bool write_failed = std::ferror(out) != 0;
    return std::fclose(out) != 0 || write_failed;
}

} // namespace

int main(int argc, char** argv) {
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
    std::snprintf(output_name, sizeof output_name, "%s.h", base_name);

    // Opening the output would truncate the source before a byte of it is read.
    if (is_same_file(in, output_name)) {
        std::fprintf(stderr, "%s: output file '%s' is the input file\n\n", asname, output_name);
        std::fclose(in);
        return usage_exit();
    }
    remove_output_on_interrupt(output_name);
    FILE* out = open_output(output_name);
    if (out == nullptr) {
        forget_output_on_interrupt();
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
    if (finish_output(out)) {
        std::fprintf(stderr, "%s: error writing output file '%s'\n", asname, output_name);
        return delete_output_exit(); // already closed by finish_output
    }
    forget_output_on_interrupt();

    std::printf("Origin:  0x%08X%s", static_cast<unsigned>(origin), "\n");
    std::printf("Code Size:  %u bytes%s", static_cast<unsigned>(pc - origin), "\n");
    std::fclose(in);
    return 0;
}
