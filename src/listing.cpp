// The listing file: rows in fixed columns, the messages after the rows they
// follow, and the summary.
#include "listing.h"

#include <cstdio>
#include <cstring>

const char LISTING_HEADING[] = "      line   address  size  source";

namespace {

// One row in fixed columns: line number (10), address (8), size (4), text.
void put_row(output* out, const char* line, const char* address, const char* size, const char* text,
             size_t length) {
    char columns[64];
    // A row with nothing after the line number ends there, without trailing blanks.
    const int columns_length =
        length == 0 && address[0] == '\0'
            ? std::snprintf(columns, sizeof columns, "%10s", line)
            : std::snprintf(columns, sizeof columns, "%10s  %8s  %4s  ", line, address, size);
    put(out, columns, static_cast<size_t>(columns_length));
    put(out, text, length);
    put(out, "\n", 1);
}

void put_numbered_row(output* out, const char* line, uint32_t address, unsigned size,
                      const char* text, size_t length) {
    char address_column[16];
    char size_column[16];
    std::snprintf(address_column, sizeof address_column, "%08X", static_cast<unsigned>(address));
    std::snprintf(size_column, sizeof size_column, "%u", size);
    put_row(out, line, address_column, size_column, text, length);
}

// Writes the kept messages from the first up to `end`.
void write_held(listing* l, size_t end) {
    put(l->out, l->held, end);
    std::memmove(l->held, l->held + end, l->held_length - end);
    l->held_length -= end;
    l->held_split = l->held_split > end ? l->held_split - end : 0;
}

} // namespace

void start_listing(listing* l, output* out) {
    l->out = out;
    l->statements = 0;
    l->expansions = 0;
    l->in_block = false;
    l->held_length = 0;
    l->held_split = 0;
    l->held_line = 0;
    put_text(out, LISTING_HEADING);
    put(out, "\n", 1);
}

void list_row(void* context, const layout_row& row) {
    listing* l = static_cast<listing*>(context);
    if (row.kind == ROW_EXPANSION) {
        // The block's rows follow its statement's.
        l->expansions += l->in_block ? 0 : 1;
        l->in_block = true;
        put_numbered_row(l->out, "", row.address, row.size, row.text, row.length);
        return;
    }
    l->in_block = false;
    write_held(l, l->held_line < row.line ? l->held_length : l->held_split);
    char line[16];
    std::snprintf(line, sizeof line, "%u", static_cast<unsigned>(row.line));
    if (row.kind == ROW_STATEMENT) {
        put_numbered_row(l->out, line, row.address, row.size, row.text, row.length);
        ++l->statements;
    } else if (row.kind == ROW_LABEL) {
        // Its offset: a label before the first statement may precede the ORIGIN.
        char text[MAX_LINE_CHARS + 48];
        const int length =
            std::snprintf(text, sizeof text, "label %.*s, offset %u", static_cast<int>(row.length),
                          row.text, static_cast<unsigned>(row.address));
        put_row(l->out, "", "", "", text, static_cast<size_t>(length));
    } else {
        put_row(l->out, line, "", "", row.text, row.length);
    }
    list_messages(l);
}

void list_message(listing* l, uint32_t line, const char* text, size_t length) {
    if (length > sizeof l->held - l->held_length) {
        return;
    }
    if (line != l->held_line) {
        l->held_split = l->held_length;
        l->held_line = line;
    }
    std::memcpy(l->held + l->held_length, text, length);
    l->held_length += length;
}

void list_messages(listing* l) {
    write_held(l, l->held_length);
}

void list_closing(listing* l, const translation& t) {
    list_messages(l);
    if (!t.end_stmt_found) {
        put_numbered_row(l->out, "added", t.pc, 1, "END", 3);
    }
    char summary[256];
    std::snprintf(summary, sizeof summary,
                  "\norigin      0x%08X\nend         0x%08X\ncode size   %u bytes\n"
                  "array size  %u bytes\nstatements  %u\nexpansions  %u\n",
                  static_cast<unsigned>(t.origin), static_cast<unsigned>(t.origin + code_size(t)),
                  static_cast<unsigned>(code_size(t)), static_cast<unsigned>(array_size(t)),
                  l->statements, l->expansions);
    put_text(l->out, summary);
}
