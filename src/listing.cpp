#include "listing.h"

#include "inst_table.h"
#include "state.h"
#include "translator.h"

#include <cstdio>
#include <cstring>

output* listing = nullptr;
const char LISTING_HEADING[] = "      line   address  size  source";

namespace {

unsigned statements; // set by start_listing, as are the others
unsigned expansions;
// An expansion block's text until its statement's row is written.
char held_block[2048];
size_t held_block_length;
// Messages until the row they follow is written: a few a line at most, each at
// most a path and a quoted line long.
char held_messages[1 << 17];
size_t held_messages_length;

// One row in fixed columns: line number (10), address (8), size (4), text.
void put_row(const char* line, const char* address, const char* size, const char* text,
             size_t length) {
    char columns[64];
    // A row with nothing after the line number ends there, without trailing blanks.
    const int columns_length =
        length == 0 && address[0] == '\0'
            ? std::snprintf(columns, sizeof columns, "%10s", line)
            : std::snprintf(columns, sizeof columns, "%10s  %8s  %4s  ", line, address, size);
    put(listing, columns, static_cast<size_t>(columns_length));
    put(listing, text, length);
    put(listing, "\n", 1);
}

void put_numbered_row(const char* line, uint32_t address, unsigned size, const char* text,
                      size_t length) {
    char address_column[16];
    char size_column[16];
    std::snprintf(address_column, sizeof address_column, "%08X", static_cast<unsigned>(address));
    std::snprintf(size_column, sizeof size_column, "%u", size);
    put_row(line, address_column, size_column, text, length);
}

// The rows of the held block's instructions: its comment, its directives and the
// line feed that ends the statement's text before it are not instructions.
void list_held_block(uint32_t address) {
    const char* end = held_block + held_block_length;
    for (const char* line = held_block; line < end;) {
        const char* lf =
            static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        const size_t length = static_cast<size_t>(lf - line);
        if (length != 0 && line[0] != '/' && line[0] != '#') {
            const char* open = static_cast<const char*>(std::memchr(line, '(', length));
            const inst_def* entry = find_instruction(line, static_cast<size_t>(open - line));
            put_numbered_row("", address, entry->size, line, length);
            address += entry->size;
        }
        line = lf + 1;
    }
    held_block_length = 0;
}

char* line_column(char* column, size_t size) {
    std::snprintf(column, size, "%u", static_cast<unsigned>(linenum));
    return column;
}

} // namespace

void start_listing(output* out) {
    listing = out;
    statements = 0;
    expansions = 0;
    held_block_length = 0;
    held_messages_length = 0;
    if (out != nullptr) {
        put_text(out, LISTING_HEADING);
        put(out, "\n", 1);
    }
}

void list_line(const char* text, size_t length) {
    char line[16];
    put_row(line_column(line, sizeof line), "", "", text, length);
    list_messages();
}

void list_statement(unsigned size, const char* text, size_t length) {
    char line[16];
    put_numbered_row(line_column(line, sizeof line), pc, size, text, length);
    ++statements;
    if (held_block_length != 0) {
        list_held_block(pc);
    }
    list_messages();
}

void hold_expansion(const char* block, size_t length) {
    held_block_length = length < sizeof held_block ? length : sizeof held_block;
    std::memcpy(held_block, block, held_block_length);
    ++expansions;
}

void hold_message(const char* text, size_t length) {
    if (length <= sizeof held_messages - held_messages_length) {
        std::memcpy(held_messages + held_messages_length, text, length);
        held_messages_length += length;
    }
}

void list_messages() {
    put(listing, held_messages, held_messages_length);
    held_messages_length = 0;
}

void list_closing() {
    list_messages();
    const uint32_t code_size = pc - origin;
    if (!end_stmt_found) {
        put_numbered_row("added", pc, 1, "END", 3);
    }
    char summary[256];
    std::snprintf(summary, sizeof summary,
                  "\norigin      0x%08X\nend         0x%08X\ncode size   %u bytes\n"
                  "array size  %u bytes\nstatements  %u\nexpansions  %u\n",
                  static_cast<unsigned>(origin), static_cast<unsigned>(origin + code_size),
                  static_cast<unsigned>(code_size), static_cast<unsigned>(array_size()), statements,
                  expansions);
    put_text(listing, summary);
}
