// The translator as a library: several sources translated in one process, one
// after the other and two at once, must each give what a fresh run of the
// command line gives for the same text: the header, the messages and the
// listing, which is made of the layout rows.
// Usage: library_check ZOLVEK SCRATCH_DIR SOURCE...
#include "listing.h"
#include "translator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string program; // the command line's name in its messages

std::string read_file(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool append(void* text, const char* data, size_t length, int*) {
    static_cast<std::string*>(text)->append(data, length);
    return false;
}

// One translation through the library, with what it gave.
struct library_run {
    std::string source;
    std::string header;
    std::string messages;
    std::string listing_text;
    output header_output;
    output listing_output;
    listing rows;
    translation t;
    read_result read;
};

// Messages as the command line prints them, kept for the listing as it does.
void take_message(void* context, const source_message& message) {
    library_run* run = static_cast<library_run*>(context);
    const std::string line = program + ": line " + std::to_string(message.line) + ": " +
                             (message.level == SEVERITY_WARNING ? "warning: " : "") + message.text +
                             "\n";
    run->messages += line;
    list_message(&run->rows, message.line, line.data(), line.size());
}

void take_row(void* context, const layout_row& row) {
    list_row(&static_cast<library_run*>(context)->rows, row);
}

// Translates the source, up to but not including its closing.
void begin(library_run* run, const std::string& path) {
    run->source = read_file(path);
    open_output_sink(&run->header_output, append, &run->header);
    open_output_sink(&run->listing_output, append, &run->listing_text);
    start_listing(&run->rows, &run->listing_output);
    run->t = start_translation(nullptr, take_message, take_row, run);
    write_opening(&run->header_output, "prog");
    static char block[INPUT_BUFFER_SIZE];
    run->read =
        translate_text(&run->t, run->source.data(), run->source.size(), &run->header_output, block);
    list_messages(&run->rows);
}

void finish(library_run* run) {
    if (run->read == READ_OK) {
        write_closing(run->t, &run->header_output);
        list_closing(&run->rows, run->t);
    }
    static_cast<void>(flush_output(&run->header_output));
    static_cast<void>(flush_output(&run->listing_output));
}

// Compares the run with the command line's on the same source; true when they differ.
bool differs(const library_run& run, const std::string& path, const std::string& scratch) {
    const std::string command = "cd '" + scratch + "' && rm -f p.h p.lst && '" + program +
                                "' -q -n prog -o p.h --listing p.lst '" + path +
                                "' 2>err >/dev/null";
    const int status = std::system(command.c_str());
    const std::string header = run.read == READ_OK ? run.header : "";
    const bool same = (status == 0) == (run.read == READ_OK) &&
                      read_file(scratch + "/p.h") == header &&
                      read_file(scratch + "/err") == run.messages &&
                      read_file(scratch + "/p.lst") == run.listing_text;
    if (!same) {
        std::printf("%s: the library and the command line differ\n", path.c_str());
    }
    return !same;
}

// The columns a message gives for the statement it is about (1-based, last
// included; 0-0 for a message about the whole line), which the command line
// does not print: line 2 of each source.
struct columns_case {
    const char* line;
    const char* columns;
};

const columns_case COLUMNS_CASES[] = {
    {"  BOGUS; ADDREGS;", "3-8"},    {"ADDREGS; LDADDR 1; // c", "10-19"},
    {"WRREG8(XREG7_0, 1);", "1-19"}, {"  LDADDR(1)", "3-11"},
    {"LDADDR(1), 2;", "1-13"},       {"END; ADDREGS;", "6-13"},
    {"LDADDR((1);", "1-11"},         {"// ORIGIN 0x10", "0-0"},
};

void take_columns(void* context, const source_message& message) {
    *static_cast<std::string*>(context) =
        std::to_string(message.first_column) + '-' + std::to_string(message.last_column);
}

bool columns_differ() {
    bool failed = false;
    for (const columns_case& c : COLUMNS_CASES) {
        const std::string source = std::string("// ORIGIN 0\n") + c.line + "\n";
        std::string columns;
        translation t = start_translation(nullptr, take_columns, nullptr, &columns);
        output out;
        open_output_sink(&out, nullptr, nullptr);
        static char block[INPUT_BUFFER_SIZE];
        static_cast<void>(translate_text(&t, source.data(), source.size(), &out, block));
        if (columns != c.columns) {
            std::printf("'%s': columns %s, not %s\n", c.line, columns.c_str(), c.columns);
            failed = true;
        }
    }
    return failed;
}

} // namespace

int main(int argc, char** argv) {
    program = argv[1];
    const std::string scratch = argv[2];
    bool failed = columns_differ();
    // A caller's function takes every byte, down to one left alone.
    std::string single_text;
    auto single = std::make_unique<output>();
    open_output_sink(single.get(), append, &single_text);
    put(single.get(), "x", 1);
    failed = flush_output(single.get()) || single_text != "x" || failed;
    // One after the other, each finished before the next begins.
    for (int i = 3; i < argc; ++i) {
        auto run = std::make_unique<library_run>();
        begin(run.get(), argv[i]);
        finish(run.get());
        failed = differs(*run, argv[i], scratch) || failed;
    }
    // Two at once: each begun before either is finished.
    for (int i = 3; i + 1 < argc; i += 2) {
        auto first = std::make_unique<library_run>();
        auto second = std::make_unique<library_run>();
        begin(first.get(), argv[i]);
        begin(second.get(), argv[i + 1]);
        finish(second.get());
        finish(first.get());
        failed =
            differs(*first, argv[i], scratch) || differs(*second, argv[i + 1], scratch) || failed;
    }
    std::printf("%d sources, in turn and two at once: %s\n", argc - 3,
                failed ? "FAILED" : "the library gives what the command line gives");
    return failed ? 1 : 0;
}
