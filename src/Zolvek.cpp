// Zolvek: converts an Event Processor source (.ep) into a C header holding the
// program as a const uint8_t array of instruction macros.

#include "command_line.h"
#include "diagnostics.h"
#include "listing.h"
#include "naming.h"
#include "output.h"
#include "output_stage.h"
#include "platform.h"
#include "translator.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef ZOLVEK_VERSION
#define ZOLVEK_VERSION "0.0.0"
#endif

namespace {

constexpr unsigned MAX_ARRAY_NAME_CHARS = 253;

char input_buffer[INPUT_BUFFER_SIZE];
char base_name[MAX_ARRAY_NAME_CHARS + 1];
char output_name[PATH_CAPACITY];
output header;              // the header's bytes on their way to the file
output listing_buffer;      // and the listing's
listing listing_rows;       // the listing's rows and messages on their way to listing_buffer
output declarations_buffer; // and the declarations file's
bool quiet = false;

void ShowUsage() {
    std::printf("%s\n", "\nUsage:  Zolvek <filename>\n");
    std::printf("%s\n", "\tInput File:");
    std::printf("%s\n", "\t\t- Default file extension is .ep");
    std::printf("%s\n", "\t\t- Contains Event Processor assembler instructions, comment lines\n");
    std::printf("%s\n", "\tOutput File:");
    std::printf("%s\n", "\t\t- Default file extension is .h (to include in C code)");
    std::printf("%s\n", "\t\t- Contains const uint8_t <filename>[] = { .... };\n");
}

void print_banner() {
    std::fputs("\n\nZolvek - R7Q52M40 Event Processor intruction converter\n", stdout);
    std::fputs("Version " ZOLVEK_VERSION
               " - turns an Event Processor source (.ep) into a C header (.h)\n\n",
               stdout);
}

// The standard streams as the run needs them: each open, and standard output
// line-buffered, so that in a merged log the banner comes before any message.
void set_up_standard_streams() {
    guard_standard_streams();
#ifdef _WIN32
    std::setvbuf(stdout, nullptr, _IONBF, 0); // no line buffering there
#else
    static char stdout_buffer[BUFSIZ];
    std::setvbuf(stdout, stdout_buffer, _IOLBF, sizeof stdout_buffer);
#endif
}

// The runs that convert nothing: --version, --help, and a command line that is
// refused (reported, usage text). True for those, with the exit status in
// *status; the banner comes before all but --version.
[[nodiscard]] bool answers_without_converting(const command_line& args, int invalid_argument,
                                              int* status) {
    *status = 0;
    if (args.version && args.bad_option == nullptr) {
        std::printf("Zolvek %s\n", ZOLVEK_VERSION);
        return true;
    }
    if (!quiet) {
        print_banner();
    }
    *status = 1;
    if (invalid_argument != 0) {
        report(SEVERITY_ERROR, "argument %d is not valid Unicode\n", invalid_argument);
    } else if (args.bad_value != nullptr) {
        report(SEVERITY_ERROR, "option '%s' takes gnu or classic, not '%s'\n", args.bad_option,
               args.bad_value);
    } else if (args.bad_option != nullptr) {
        report(SEVERITY_ERROR,
               args.missing_argument ? "option '%s' needs an argument\n" : "unknown option '%s'\n",
               args.bad_option);
    } else if (args.help) {
        *status = 0;
        ShowUsage();
        show_options();
        return true;
    } else if (args.input == nullptr) {
        report(SEVERITY_ERROR, "no input file name supplied\n");
    } else if (args.extra != nullptr) {
        report(SEVERITY_ERROR, "unexpected argument '%s'\n", args.extra);
    } else {
        return false;
    }
    if (!quiet) {
        ShowUsage();
    }
    return true;
}

// The header is written to -o, or else to the base name followed by ".h". True
// when that name is longer than any path the system accepts.
[[nodiscard]] bool choose_output_name(const command_line& args, const char** name) {
    *name = args.output;
    if (args.output != nullptr) {
        return std::strlen(args.output) >= PATH_CAPACITY;
    }
    const size_t length = std::strcspn(args.input, ".");
    if (length + sizeof ".h" > sizeof output_name) {
        return true;
    }
    std::memcpy(output_name, args.input, length);
    std::memcpy(output_name + length, ".h", sizeof ".h");
    *name = output_name;
    return false;
}

// The array is named by -n, by the file name made a C identifier with --c-name,
// or else by the input up to its first '.', directory parts included. True when
// that is too long.
[[nodiscard]] bool choose_array_name(const command_line& args, const char** name) {
    *name = args.array_name;
    if (args.array_name != nullptr) {
        return std::strlen(args.array_name) > MAX_ARRAY_NAME_CHARS;
    }
    *name = base_name;
    if (args.c_name) {
        return c_name_of(args.input, base_name, sizeof base_name);
    }
    const size_t length = std::strcspn(args.input, ".");
    if (length > MAX_ARRAY_NAME_CHARS) {
        return true;
    }
    std::memcpy(base_name, args.input, length);
    base_name[length] = '\0';
    return false;
}

// The names of a run's files.
struct run_names {
    const char* header;
    const char* listing;      // null without --listing
    const char* declarations; // null without --declarations
};

// Settles the output names before any file is opened. True when one is refused
// (reported).
[[nodiscard]] bool settle_names(const command_line& args, run_names* names) {
    names->listing = args.listing;
    names->declarations = args.declarations;
    if (choose_output_name(args, &names->header) ||
        (args.listing != nullptr && std::strlen(args.listing) >= PATH_CAPACITY) ||
        (args.declarations != nullptr && std::strlen(args.declarations) >= PATH_CAPACITY)) {
        report(SEVERITY_ERROR, "output file name too long\n");
        return true;
    }
    if (args.listing != nullptr && is_same_output(args.listing, names->header)) {
        report(SEVERITY_ERROR, "listing file '%s' is the header file\n", args.listing);
        return true;
    }
    const bool declares_header =
        args.declarations != nullptr && is_same_output(args.declarations, names->header);
    if (declares_header || (args.declarations != nullptr && args.listing != nullptr &&
                            is_same_output(args.declarations, args.listing))) {
        report(SEVERITY_ERROR, "declarations file '%s' is the %s file\n", args.declarations,
               declares_header ? "header" : "listing");
        return true;
    }
    return false;
}

// The open files of a run, each null until opened and again once closed, put
// in place or discarded.
struct run_files {
    FILE* input;
    run_output header;
    run_output listing;
    run_output declarations;
    bool listing_shows_failure; // the listing holds the translation, without its summary
};

// Opens the source (a directory opens on some systems but cannot be read as
// one). True when it cannot be opened (reported).
[[nodiscard]] bool open_source(const char* name, run_files* files) {
    files->input = open_input(name);
    int reason = errno;
    if (files->input != nullptr && is_directory(files->input)) {
        std::fclose(files->input);
        files->input = nullptr;
        reason = EISDIR;
    }
    if (files->input != nullptr) {
        return false;
    }
    report_failure(reason, "unable to open input file '%s'", name);
    std::fputc('\n', stderr); // this message ends with an empty line
    return true;
}

// Checks the array name. True when it cannot name the array (reported). A name
// given with -n is this program's own option, so one the header could not
// compile with is refused; one taken from the file name only warned about.
[[nodiscard]] bool refuse_array_name(const command_line& args, const char** array_name) {
    if (choose_array_name(args, array_name)) {
        report(SEVERITY_ERROR, "input file name exceeds %u chars\n", MAX_ARRAY_NAME_CHARS);
        return true;
    }
    if (has_control_character(*array_name)) {
        report(SEVERITY_ERROR, args.array_name != nullptr
                                   ? "array name contains a control character\n"
                                   : "input file name contains a control character\n");
        return true;
    }
    // --c-name's name is chosen as -n's is, and refused as it would be.
    const bool given = args.array_name != nullptr || args.c_name;
    const char* fault = given ? array_name_fault(*array_name) : nullptr;
    if (fault != nullptr) {
        char message[MAX_ARRAY_NAME_CHARS + 64];
        std::snprintf(message, sizeof message, fault, *array_name);
        report(SEVERITY_ERROR, "%s\n", message);
    }
    return fault != nullptr;
}

// Refuses, before anything is written, an output name that no run may use.
[[nodiscard]] bool refuse_output_names(const run_names& names, const run_files& files) {
    return refuse_output_name(HEADER_FILE, files.input, names.header) ||
           (names.listing != nullptr &&
            refuse_output_name(LISTING_FILE, files.input, names.listing)) ||
           (names.declarations != nullptr &&
            refuse_output_name(DECLARATIONS_FILE, files.input, names.declarations));
}

// Begins the output stage: the listing, then the header, so that a listing that
// cannot be written costs no earlier header. Writing the output must never touch
// the source. True when a file cannot be opened (reported).
[[nodiscard]] bool open_outputs(const run_names& names, run_files* files) {
    if (names.declarations != nullptr) {
        if (open_output(files->input, names.declarations, &files->declarations)) {
            return true;
        }
        open_output_buffer(&declarations_buffer, files->declarations.file);
    }
    if (names.listing != nullptr) {
        if (open_output(files->input, names.listing, &files->listing)) {
            return true;
        }
        open_output_buffer(&listing_buffer, files->listing.file);
    }
    if (open_output(files->input, names.header, &files->header)) {
        return true;
    }
    open_output_buffer(&header, files->header.file);
    if (files->listing.file != nullptr) {
        start_listing(&listing_rows, &listing_buffer);
        files->listing_shows_failure = true;
    }
    return false;
}

// Translates the source into the header (and the listing). True when a line
// failed, the input could not be read, or (--fatal-warnings) anything was warned
// about (reported).
[[nodiscard]] bool translate(const command_line& args, const char* array_name, run_files* files,
                             translation* t) {
    const bool listed = files->listing.file != nullptr;
    *t = start_translation(args.line_directives ? args.input : nullptr, print_source_message,
                           listed ? list_row : nullptr, listed ? &listing_rows : nullptr);
    t->keep_labels = args.defines || args.declarations != nullptr; // written out with the macros
    header.count_lines = args.line_directives; // for the directive after the last line
    const unsigned earlier_warnings = warning_count();
    const char* fault = array_name_fault(array_name);
    if (fault != nullptr) {
        report_source_warning(fault, array_name);
    }
    write_opening(&header, array_name);
    const read_result result = translate_source(t, files->input, &header, input_buffer);
    if (listed) {
        list_messages(&listing_rows); // about the last line
    }
    if (result == READ_ERROR) {
        report_failure(errno, "error reading input file '%s'", args.input);
    }
    std::fclose(files->input); // all of it that is needed has been read
    files->input = nullptr;
    if (result == READ_OK && args.fatal_warnings && warning_count() != earlier_warnings) {
        report(SEVERITY_ERROR, "warnings treated as errors (--fatal-warnings)");
        return true;
    }
    return result != READ_OK;
}

// Prints the origin and the code size. True when standard output cannot take
// them (reported): they come before the commit, so that a build never takes a
// run whose summary was lost for a success.
[[nodiscard]] bool print_summary(const translation& t) {
    if (quiet) {
        return false;
    }
    errno = 0; // a failure of an earlier write has no reason here
    std::printf("Origin:  0x%08X%s", static_cast<unsigned>(t.origin), "\n");
    std::printf("Code Size:  %u bytes%s", static_cast<unsigned>(code_size(t)), "\n");
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return false;
    }
    report_failure(errno, "error writing standard output");
    return true;
}

// Completes the frame, writes everything out, prints the summary (after which
// only the commit can fail), and only then commits the header and the listing
// together: a listing that shows success
// stands only beside its committed header. True when anything failed (reported).
[[nodiscard]] bool complete_outputs(const command_line& args, const run_names& names,
                                    const char* array_name, const translation& t,
                                    run_files* files) {
    if (args.line_directives) {
        write_header_line_directive(t, &header, names.header);
    }
    write_closing(t, &header);
    if (args.defines) {
        write_defines(t, &header, array_name);
    }
    if (finish_output(&header, &files->header)) {
        return true;
    }
    if (files->listing.file != nullptr) {
        list_closing(&listing_rows,
                     t); // a listing with its summary is never put in place on its own
        files->listing_shows_failure = false;
        if (finish_output(&listing_buffer, &files->listing)) {
            return true;
        }
    }
    if (files->declarations.file != nullptr) {
        write_declarations(t, &declarations_buffer, array_name);
        if (finish_output(&declarations_buffer, &files->declarations)) {
            return true;
        }
    }
    if (print_summary(t)) {
        return true;
    }
    // The header first, then the files that describe it.
    run_output* const all[] = {&files->header, &files->listing, &files->declarations};
    run_output* finished[3];
    size_t count = 0;
    for (run_output* output : all) {
        if (output->file != nullptr) {
            finished[count++] = output;
        }
    }
    return commit_outputs(finished, count);
}

// After a failed run, whatever stage it reached: the source is closed, no
// header of its name is left, and then (so that its commit leaves no header
// pending) a listing of the translation is put in place to show the lines up to
// where the run stopped; any other listing is discarded.
void end_failed_run(run_files* files) {
    if (files->input != nullptr) {
        std::fclose(files->input);
    }
    if (files->header.file != nullptr) {
        discard(&files->header);
    }
    if (files->declarations.file != nullptr) {
        discard(&files->declarations); // never a stale one beside another header
    }
    if (files->listing.file != nullptr && files->listing_shows_failure) {
        // A listing that cannot be put in place is reported there, and gone.
        run_output* const listing = &files->listing;
        static_cast<void>(finish_output(&listing_buffer, listing) || commit_outputs(&listing, 1));
    } else if (files->listing.file != nullptr) {
        discard(&files->listing);
    }
    *files = {};
}

} // namespace

int main(int argc, char** argv) {
    set_up_standard_streams();
    int invalid_argument = 0;
    argv = utf8_arguments(&argc, argv, &invalid_argument);
    if (argc > 0 && argv[0] != nullptr) {
        set_program_name(argv[0]);
    }
    const command_line args = parse_command_line(argc, argv);
    quiet = args.quiet;
    int status = 0;
    if (answers_without_converting(args, invalid_argument, &status)) {
        return status;
    }
    if (args.gnu_diagnostics) {
        use_gnu_diagnostics(args.input);
    }

    run_names names = {};
    run_files files = {};
    const char* array_name = nullptr;
    translation translated = {};
    const bool failed = settle_names(args, &names) || open_source(args.input, &files) ||
                        refuse_array_name(args, &array_name) || refuse_output_names(names, files) ||
                        open_outputs(names, &files) ||
                        translate(args, array_name, &files, &translated) ||
                        complete_outputs(args, names, array_name, translated, &files);
    if (failed) {
        end_failed_run(&files);
        if (!quiet) {
            ShowUsage();
        }
        return 1;
    }
    return 0;
}
