// The command line: its options and file names, and the options part of --help.
#include "command_line.h"

#include <cstdio>
#include <cstring>

namespace {

bool is(const char* argument, const char* option) {
    return std::strcmp(argument, option) == 0;
}

// The options that take a value, each spelled "-o FILE", "-oFILE", "--output
// FILE" or "--output=FILE" (the long ones only where a short one exists).
struct value_option {
    const char* short_name; // or null
    const char* long_name;
};

const value_option VALUE_OPTIONS[] = {
    {"-o", "--output"},          {"-n", "--name"},           {nullptr, "--listing"},
    {nullptr, "--declarations"}, {nullptr, "--diagnostics"},
};

// The value option that argument spells, with its value when attached (else
// null): null when it is none of them.
const value_option* value_option_of(const char* argument, const char** attached) {
    *attached = nullptr;
    for (const value_option& option : VALUE_OPTIONS) {
        const size_t length = std::strlen(option.long_name);
        if (std::strncmp(argument, option.long_name, length) == 0 &&
            (argument[length] == '\0' || argument[length] == '=')) {
            *attached = argument[length] == '=' ? argument + length + 1 : nullptr;
            return &option;
        }
        if (option.short_name != nullptr && std::strncmp(argument, option.short_name, 2) == 0) {
            *attached = argument[2] != '\0' ? argument + 2 : nullptr;
            return &option;
        }
    }
    return nullptr;
}

// Takes the value of an option into result. False when it is not one the
// option takes (--diagnostics: gnu or classic).
bool take_value(const value_option& option, const char* value, command_line* result) {
    const char* const name = option.long_name;
    if (is(name, "--output")) {
        result->output = value;
    } else if (is(name, "--name")) {
        result->array_name = value;
        result->c_name = false;
    } else if (is(name, "--listing")) {
        result->listing = value;
    } else if (is(name, "--declarations")) {
        result->declarations = value;
    } else if (is(value, "gnu") || is(value, "classic")) {
        result->gnu_diagnostics = is(value, "gnu");
    } else {
        return false;
    }
    return true;
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
        const char* value = nullptr;
        const value_option* option = value_option_of(argument, &value);
        if (option != nullptr) {
            const bool separate = value == nullptr;
            if (separate && i + 1 == argc) {
                result.bad_option = argument;
                result.missing_argument = true;
                break;
            }
            const char* taken = separate ? argv[++i] : value;
            if (!take_value(*option, taken, &result)) {
                result.bad_option = option->long_name;
                result.bad_value = taken;
                break;
            }
        } else if (is(argument, "--c-name")) {
            result.c_name = true;
            result.array_name = nullptr;
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
    std::fputs(
        "\tOptions, before or after the file name:\n"
        "\t\t-o FILE                write the header to FILE instead of <base name>.h\n"
        "\t\t                       (also -oFILE, --output FILE, --output=FILE)\n"
        "\t\t-n NAME                name the array NAME instead of the base name\n"
        "\t\t                       (also -nNAME, --name NAME, --name=NAME)\n"
        "\t\t--c-name               name the array after the file's last component up\n"
        "\t\t                       to its first '.', other bytes than letters, digits\n"
        "\t\t                       and '_' made '_' (the later of -n and --c-name wins)\n"
        "\t\t--defines              end the header with the origin and sizes as macros\n"
        "\t\t--listing FILE         write the address and size of each statement to FILE\n"
        "\t\t                       (also --listing=FILE)\n"
        "\t\t--declarations FILE    write FILE, a header that declares the array with its\n"
        "\t\t                       macros, for every other C file (also --declarations=FILE)\n"
        "\t\t--line-directives      point C compilers' messages at the source's lines\n"
        "\t\t--fatal-warnings       fail the run when there is any warning\n"
        "\t\t-q                     print nothing on standard output\n"
        "\t\t--diagnostics=gnu      report source lines as FILE:LINE: error: TEXT\n"
        "\t\t--diagnostics=classic  report them as NAME: line N: TEXT (the default)\n"
        "\t\t                       (also --diagnostics gnu, --diagnostics classic)\n"
        "\t\t-h, --help             print this text\n"
        "\t\t--version              print the version\n"
        "\t\t--                     end of the options\n\n",
        stdout);
}
