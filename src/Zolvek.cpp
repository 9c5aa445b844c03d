// Zolvek: converts an Event Processor source (.ep) into a C header holding the
// program as a const uint8_t array of instruction macros.

#include "command_line.h"
#include "diagnostics.h"
#include "listing.h"
#include "naming.h"
#include "output.h"
#include "platform.h"
#include "state.h"
#include "translator.h"

#include <cerrno>
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

constexpr unsigned MAX_ARRAY_NAME_CHARS = 253;

char input_buffer[INPUT_BUFFER_SIZE];
char base_name[MAX_ARRAY_NAME_CHARS + 1];
char output_name[PATH_CAPACITY];
output header;         // the header's bytes on their way to the file
output listing_buffer; // and the listing's
bool quiet = false;

void print_banner() {
    std::fputs("\n\nZolvek - R7Q52M40 Event Processor intruction converter\n", stdout);
    std::fputs("Version " ZOLVEK_VERSION
               " - turns an Event Processor source (.ep) into a C header (.h)\n\n",
               stdout);
}

int usage_exit() {
    if (!quiet) {
        ShowUsage();
    }
    return 1;
}

void discard(output_file which, FILE* out) {
    const char* undeleted = discard_output(which, out);
    if (undeleted != nullptr) {
        report_failure(errno, "unable to delete output file '%s'", undeleted);
    }
}

// Once the output stage has begun, a failed run leaves no header of this name.
int failure_exit(FILE* out) {
    discard(HEADER_FILE, out);
    return usage_exit();
}

// Writes what waits in the buffer and puts the file in its place; true when
// that failed, reported, and the file is gone.
bool complete_output(output_file which, output* buffer, FILE* out, const char* name) {
    const bool write_failed = flush_output(buffer);
    if (!write_failed && !commit_output(which, out)) {
        return false;
    }
    report_failure(write_failed ? buffer->error_number : errno, "error writing output file '%s'",
                   name);
    discard(which, write_failed ? out : nullptr); // commit_output closes it
    return true;
}

// Reports a bad command line or answers --help; -1 when the run goes on.
int handle_options(const command_line& args) {
    if (args.bad_option != nullptr) {
        report(SEVERITY_ERROR,
               args.missing_argument ? "option '%s' needs an argument\n" : "unknown option '%s'\n",
               args.bad_option);
        return usage_exit();
    }
    if (args.help) {
        ShowUsage();
        show_options();
        return 0;
    }
    if (args.input == nullptr) {
        report(SEVERITY_ERROR, "no input file name supplied\n");
        return usage_exit();
    }
    if (args.extra != nullptr) {
        report(SEVERITY_ERROR, "unexpected argument '%s'\n", args.extra);
        return usage_exit();
    }
    return -1;
}

// The array is named by -n, or else by the input up to its first '.', directory
// parts included; null when that is too long.
const char* choose_array_name(const command_line& args) {
    if (args.array_name != nullptr) {
        return std::strlen(args.array_name) <= MAX_ARRAY_NAME_CHARS ? args.array_name : nullptr;
    }
    const size_t length = std::strcspn(args.input, ".");
    if (length > MAX_ARRAY_NAME_CHARS) {
        return nullptr;
    }
    std::memcpy(base_name, args.input, length);
    base_name[length] = '\0';
    return base_name;
}

// The header is written to -o, or else to the base name followed by ".h"; null
// when that name is longer than any path the system accepts.
const char* choose_output_name(const command_line& args) {
    if (args.output != nullptr) {
        return std::strlen(args.output) < PATH_CAPACITY ? args.output : nullptr;
    }
    const size_t length = std::strcspn(args.input, ".");
    if (length + sizeof ".h" > sizeof output_name) {
        return nullptr;
    }
    std::memcpy(output_name, args.input, length);
    std::memcpy(output_name + length, ".h", sizeof ".h");
    return output_name;
}

// Opens an output file for writing, or reports why it cannot be (the input then
// closed); null in that case.
FILE* open_output(output_file which, FILE* in, const char* output) {
    output_refusal refusal = is_same_file(in, output) ? OUTPUT_IS_INPUT : OUTPUT_UNAVAILABLE;
    errno = ENOENT; // an empty name names no file
    FILE* out = refusal == OUTPUT_UNAVAILABLE && output[0] != '\0'
                    ? begin_output(which, in, output, &refusal)
                    : nullptr;
    if (out != nullptr) {
        return out;
    }
    const int reason = errno;
    std::fclose(in);
    if (refusal == OUTPUT_IS_INPUT) {
        report(SEVERITY_ERROR, "output file '%s' is the input file\n", output);
    } else if (refusal == OUTPUT_NAME_TOO_LONG) {
        report(SEVERITY_ERROR, "output file name too long\n");
    } else {
        report_failure(reason, "unable to open output file '%s'", output);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    guard_standard_streams();
#ifdef _WIN32
    std::setvbuf(stdout, nullptr, _IONBF, 0); // no line buffering there
#else
    static char stdout_buffer[BUFSIZ]; // the banner comes before any message in a merged log
    std::setvbuf(stdout, stdout_buffer, _IOLBF, sizeof stdout_buffer);
#endif
    int invalid_argument = 0;
    argv = utf8_arguments(&argc, argv, &invalid_argument);
    if (argc > 0 && argv[0] != nullptr) {
        asname = argv[0];
    }
    const command_line args = parse_command_line(argc, argv);
    quiet = args.quiet;
    if (args.version && args.bad_option == nullptr) {
        std::printf("Zolvek %s\n", ZOLVEK_VERSION);
        return 0;
    }
    if (!quiet) {
        print_banner();
    }
    if (invalid_argument != 0) {
        report(SEVERITY_ERROR, "argument %d is not valid Unicode\n", invalid_argument);
        return usage_exit();
    }
    const int status = handle_options(args);
    if (status >= 0) {
        return status;
    }
    if (args.gnu_diagnostics) {
        use_gnu_diagnostics(args.input);
    }

    // Every name is settled before any file is opened.
    const char* output = choose_output_name(args);
    if (output == nullptr) {
        report(SEVERITY_ERROR, "output file name too long\n");
        return usage_exit();
    }
    if (args.listing != nullptr && std::strlen(args.listing) >= PATH_CAPACITY) {
        report(SEVERITY_ERROR, "output file name too long\n");
        return usage_exit();
    }
    if (args.listing != nullptr && is_same_output(args.listing, output)) {
        report(SEVERITY_ERROR, "listing file '%s' is the header file\n", args.listing);
        return usage_exit();
    }
    FILE* in = open_input(args.input);
    int reason = errno;
    // A directory opens on some systems but cannot be read as a source.
    if (in != nullptr && is_directory(in)) {
        std::fclose(in);
        in = nullptr;
        reason = EISDIR;
    }
    if (in == nullptr) {
        report_failure(reason, "unable to open input file '%s'", args.input);
        std::fputc('\n', stderr); // this message ends with an empty line
        return usage_exit();
    }
    const char* array_name = choose_array_name(args);
    if (array_name == nullptr) {
        report(SEVERITY_ERROR, "input file name exceeds %u chars\n", MAX_ARRAY_NAME_CHARS);
        std::fclose(in);
        return usage_exit();
    }
    if (has_control_character(array_name)) {
        report(SEVERITY_ERROR, args.array_name != nullptr
                                   ? "array name contains a control character\n"
                                   : "input file name contains a control character\n");
        std::fclose(in);
        return usage_exit();
    }
    // Writing the output must never touch the source.
    FILE* out = open_output(HEADER_FILE, in, output);
    if (out == nullptr) {
        return usage_exit();
    }
    FILE* listing_file = nullptr;
    if (args.listing != nullptr) {
        listing_file = open_output(LISTING_FILE, in, args.listing);
        if (listing_file == nullptr) {
            return failure_exit(out);
        }
        open_output_buffer(&listing_buffer, listing_file);
    }
    start_listing(listing_file != nullptr ? &listing_buffer : nullptr);
    line_directive_name = args.line_directives ? args.input : nullptr;
    open_output_buffer(&header, out);
    warn_about_array_name(array_name);
    write_opening(&header, array_name);

    const read_result result = translate_source(in, &header, input_buffer);
    if (result == READ_ERROR) {
        report_failure(errno, "error reading input file '%s'", args.input);
    }
    std::fclose(in); // all of it that is needed has been read
    if (result != READ_OK) {
        // The listing shows the lines up to where the run stopped.
        if (listing_file != nullptr) {
            complete_output(LISTING_FILE, &listing_buffer, listing_file, args.listing);
        }
        return failure_exit(out);
    }
    write_closing(&header);
    if (args.defines) {
        write_defines(&header, array_name);
    }
    if (listing_file != nullptr) {
        list_closing();
        if (complete_output(LISTING_FILE, &listing_buffer, listing_file, args.listing)) {
            return failure_exit(out);
        }
    }
    if (complete_output(HEADER_FILE, &header, out, output)) {
        return usage_exit();
    }

    if (!quiet) {
        std::printf("Origin:  0x%08X%s", static_cast<unsigned>(origin), "\n");
        std::printf("Code Size:  %u bytes%s", static_cast<unsigned>(pc - origin), "\n");
    }
    return 0;
}
