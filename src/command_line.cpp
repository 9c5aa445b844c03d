// The command line: its options and file names, and the options part of --help.
#include "command_line.h"

#include <cstdio>
#include <cstring>

namespace {

bool is(const char* argument, const char* option) {
    return std::strcmp(argument, option) == 0;
}

} // namespace

command_line parse_command_line(int argc, char** argv) {
    command_line result;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        // "-" alone is a file name, as is everything after "--".
        if (options_end || argument[0] != '-' || argument[1] == '\0') {
            if (result.input == nullptr) {
                result.input = argument;
            } else if (result.extra == nullptr) {
                result.extra = argument;
            }
            continue;
        }
        if (is(argument, "-o") || is(argument, "-n") || is(argument, "--listing")) {
            if (i + 1 == argc) {
                result.bad_option = argument;
                result.missing_argument = true;
                break;
            }
            const char** value = argument[1] == 'o'   ? &result.output
                                 : argument[1] == 'n' ? &result.array_name
                                                      : &result.listing;
            *value = argv[++i];
        } else if (is(argument, "--defines")) {
            result.defines = true;
        } else if (is(argument, "--line-directives")) {
            result.line_directives = true;
        } else if (is(argument, "--fatal-warnings")) {
            result.fatal_warnings = true;
        } else if (is(argument, "--")) {
            options_end = true;
        } else if (is(argument, "-q")) {
            result.quiet = true;
        } else if (is(argument, "--diagnostics=gnu") || is(argument, "--diagnostics=classic")) {
            result.gnu_diagnostics = is(argument, "--diagnostics=gnu");
        } else if (is(argument, "-h") || is(argument, "--help")) {
            result.help = true;
        } else if (is(argument, "--version")) {
            result.version = true;
        } else {
            result.bad_option = argument;
            break;
        }
    }
    return result;
}

void show_options() {
    std::fputs("\tOptions, before or after the file name:\n"
               "\t\t-o FILE                write the header to FILE instead of <base name>.h\n"
               "\t\t-n NAME                name the array NAME instead of the base name\n"
               "\t\t--defines              end the header with the origin and sizes as macros\n"
               "\t\t--listing FILE         write the address and size of each statement to FILE\n"
               "\t\t--line-directives      point C compilers' messages at the source's lines\n"
               "\t\t--fatal-warnings       fail the run when there is any warning\n"
               "\t\t-q                     print nothing on standard output\n"
               "\t\t--diagnostics=gnu      report source lines as FILE:LINE: error: TEXT\n"
               "\t\t--diagnostics=classic  report them as NAME: line N: TEXT (the default)\n"
               "\t\t-h, --help             print this text\n"
               "\t\t--version              print the version\n"
               "\t\t--                     end of the options\n\n",
               stdout);
}
