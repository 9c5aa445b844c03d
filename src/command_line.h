// The command line: options and the file name in any order, each its own argument.
#pragma once

struct command_line {
    const char* input = nullptr;        // the source file, or null when none was given
    const char* extra = nullptr;        // a second file name, which is refused
    const char* output = nullptr;       // -o FILE, or null for <base name>.h
    const char* array_name = nullptr;   // -n NAME, or null for the base name
    bool c_name = false;                // --c-name: the array named after the file, made a C name
    bool quiet = false;                 // -q: nothing on standard output
    bool gnu_diagnostics = false;       // --diagnostics=gnu
    bool defines = false;               // --defines: the origin and code size as macros
    const char* listing = nullptr;      // --listing FILE, or null for none
    const char* declarations = nullptr; // --declarations FILE, or null for none
    bool line_directives = false;       // --line-directives: #line back to the source
    bool fatal_warnings = false;        // --fatal-warnings: a warning fails the run
    bool help = false;                  // -h, --help
    bool version = false;               // --version
    const char* bad_option = nullptr;   // an unknown option, or one that lacks its argument
    bool missing_argument = false;      // bad_option lacks its argument
    const char* bad_value = nullptr;    // a value bad_option does not take (--diagnostics)
};

// Reads the arguments after the program name, options before or after the file
// name. Parsing stops at the first bad option.
[[nodiscard]] command_line parse_command_line(int argc, char** argv);

// The list of options that --help shows after the usage text.
void show_options();
