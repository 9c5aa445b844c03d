#include "translator.h"

#include "diagnostics.h"
#include "indirect.h"
#include "inst_table.h"
#include "state.h"

#include <cstdint>
#include <cstring>

// Position of the first character of s whose membership in set (BLANKS,
// HEADER_SKIP or MNEMONIC_DELIMS) equals want, or null when the NUL comes first.
char* first_occurrence(char* s, const char* set, bool want);
char* first_match(char* s, const char* set);
char* first_nonmatch(char* s, const char* set);

// Reads one hexadecimal number the way "%x" does (leading white space, optional
// sign, optional 0x, hex digits), but the same on every platform. True when there
// is no number, when "0x" has no digit after it, or when the value needs more than
// 32 bits. A minus negates modulo 2^32.
bool scan_hex(const char* text, uint32_t* value);

bool parse_comment(char* line, output* out);
bool parse_org(char* text);
bool parse_addr(char* text);
bool parse_stmt(char* s, output* out);
bool parse_params(char* text, output* out, const inst_def& entry);
bool parse_stmt0(const inst_def& entry, output* out);

// Character sets the scanners work with.
const char* const BLANKS = " \t";
const char* const HEADER_SKIP = " \t/";
const char* const MNEMONIC_DELIMS = " \t(";

namespace {

// Writes text and a line feed with one call: the NUL that ends the text is
// replaced by '\n' for the write and put back.
void write_line(char* text, output* out) {
    const size_t length = std::strlen(text);
    text[length] = '\n';
    put(out, text, length + 1);
    text[length] = '\0';
}

// strchr for the short texts of one line, without the library call's set-up.
char* find_char(char* s, char c) {
    for (; *s != '\0'; ++s) {
        if (*s == c) {
            return s;
        }
    }
    return nullptr;
}

char* find_comment(char* line) {
    for (char* p = find_char(line, '/'); p != nullptr; p = find_char(p + 1, '/')) {
        if (p[1] == '/') {
            return p;
        }
    }
    return nullptr;
}

// True when text begins with name; the lists' names are a dozen characters at most.
bool begins_with(const char* text, const char* name) {
    while (*name != '\0' && *name == *text) {
        ++name;
        ++text;
    }
    return *name == '\0';
}

// The white space "%x" skips, fixed here so that no locale changes it.
bool is_scan_space(char c) {
    return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr;
}

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

char* find_in_range(char* from, char* to, char c) {
    for (char* p = from; p < to; ++p) {
        if (*p == c) {
            return p;
        }
    }
    return nullptr;
}

// Membership tables for the three character sets, the only ones the scanners are
// given, built on first use so that a scan costs one lookup a character.
const bool* table_for(const char* set) {
    static bool tables[3][256];
    static bool built = false;
    if (!built) {
        const char* const sets[3] = {BLANKS, HEADER_SKIP, MNEMONIC_DELIMS};
        for (int i = 0; i < 3; ++i) {
            for (const char* c = sets[i]; *c != '\0'; ++c) {
                tables[i][static_cast<unsigned char>(*c)] = true;
            }
        }
        built = true;
    }
    return set == BLANKS ? tables[0] : set == HEADER_SKIP ? tables[1] : tables[2];
}

// Where the last statement that parse_stmt accepted ends: its ';'.
char* statement_end = nullptr;

} // namespace

char* first_occurrence(char* s, const char* set, bool want) {
    // The runs are short, which a plain loop walks faster than the library's
    // table-building scans.
    const bool* table = table_for(set);
    for (char* p = s; *p != '\0'; ++p) {
        if (table[static_cast<unsigned char>(*p)] == want) {
            return p;
        }
    }
    return nullptr;
}

char* first_match(char* s, const char* set) {
    return first_occurrence(s, set, true);
}

char* first_nonmatch(char* s, const char* set) {
    return first_occurrence(s, set, false);
}

bool scan_hex(const char* text, uint32_t* value) {
    const char* p = text;
    while (is_scan_space(*p)) {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2; // a "0x" with no digit after it is refused below
    }
    if (hex_digit_value(*p) < 0) {
        return true;
    }
    uint32_t result = 0;
    for (; hex_digit_value(*p) >= 0; ++p) {
        if (result > 0x0FFFFFFFu) {
            return true; // the next digit would need more than 32 bits
        }
        result = result * 16u + static_cast<uint32_t>(hex_digit_value(*p));
    }
    *value = negative ? 0u - result : result;
    return false;
}

bool parse_line(char* line, output* out) {
    if (!stmt_found) {
        if (!parse_comment(line, out)) {
            return false;
        }
        if (!org_found) {
            return true;
        }
        stmt_found = true;
    }

    char* comment = find_comment(line);
    if (comment != nullptr) {
        *comment = '\0';
    }
    char* p = line;
    while (first_nonmatch(p, BLANKS) != nullptr) {
        if (parse_stmt(p, out)) {
            return true;
        }
        p = statement_end + 1;
        // Nothing after END is read, so a statement there would be lost (and its
        // echo, without the ',' END drops, would not compile).
        if (end_stmt_found && first_nonmatch(p, BLANKS) != nullptr) {
            report_line(SEVERITY_ERROR, "statement after END");
            return true;
        }
    }
    // What follows the last ';' (blanks, then the comment if there is one) runs
    // to the end of the line once the comment's '/' is back.
    if (comment != nullptr) {
        *comment = '/';
    }
    write_line(p, out);
    return false;
}

bool parse_comment(char* line, output* out) {
    char* t = first_nonmatch(line, BLANKS);
    if (t == nullptr) {
        return false; // blank lines before the first statement vanish
    }
    if (t[0] == '/' && t[1] == '/') {
        write_line(line, out);
        return parse_org(t);
    }
    if (!org_found) {
        report_line(SEVERITY_ERROR, "expected an ORIGIN directive");
    }
    return true;
}

bool parse_org(char* text) {
    char* u = first_nonmatch(text, HEADER_SKIP);
    if (u == nullptr) {
        return false;
    }
    // A bare "ORIGIN" ending the line is an ordinary comment.
    if (std::strncmp(u, "ORIGIN", 6) == 0 && u[6] != '\0') {
        return parse_addr(u + 6);
    }
    return false;
}

bool parse_addr(char* text) {
    uint32_t address = 0;
    if (scan_hex(text, &address)) {
        report_line(SEVERITY_WARNING, "invalid ORIGIN address; treating line as comment");
        return false;
    }
    origin = address;
    pc = address;
    org_found = true;
    return false;
}

bool parse_stmt(char* s, output* out) {
    char* t = first_nonmatch(s, BLANKS);
    char* e = find_char(t, ';');
    if (e == nullptr) {
        report_line(SEVERITY_ERROR, "missing '%c' after '%s'", ';', s);
        return true;
    }

    *e = '\0';
    char* m = first_match(t, MNEMONIC_DELIMS);
    if (m == nullptr) {
        m = e;
    }
    // A whole-word match: RDREG8 does not match RDREG8I, nor RDREG8I RDREG8.
    const inst_def* entry = find_instruction(t, static_cast<size_t>(m - t));
    if (entry == nullptr) {
        report_line(SEVERITY_ERROR, "invalid statement '%s'", s);
        return true;
    }
    *e = ';';

    // Both parenthesis searches stay inside this statement.
    char* q = find_in_range(m, e, '(');
    if (q != nullptr) {
        if (find_in_range(q + 1, e, ')') == nullptr) {
            report_line(SEVERITY_ERROR, "missing '%c'", ')');
            return true;
        }
        if (parse_params(q + 1, out, *entry)) {
            report_line(SEVERITY_ERROR, "invalid parameters for %s", entry->name);
            return true;
        }
        if (entry->nparams == 0) {
            parse_stmt0(*entry, out);
        }
    } else if (parse_stmt0(*entry, out)) {
        report_line(SEVERITY_ERROR, "invalid statement '%s'", s);
        return true;
    }

    // An indirect statement is not echoed: its expansion block stands in its place.
    if ((entry->flags & INST_INDIRECT) == 0) {
        // The ';' becomes ',' in the echo; END's is dropped.
        const bool is_end = (entry->flags & INST_END) != 0;
        *e = ',';
        put(out, s, static_cast<size_t>(e - s) + (is_end ? 0 : 1));
        *e = ';';
    }
    statement_end = e;
    pc += entry->size;
    return false;
}

bool parse_params(char* text, output* out, const inst_def& entry) {
    char* t = first_nonmatch(text, BLANKS);
    if (t == nullptr) {
        return true;
    }
    if (entry.nparams == 0) {
        return *t != ')'; // only an empty pair is allowed
    }
    if (entry.params == nullptr) {
        return *t == ')'; // any first parameter will do, but there must be one
    }
    for (const char* const* name = entry.params; *name != nullptr; ++name) {
        if ((*name)[0] != t[0]) {
            continue; // cheap early out; the prefix comparison would fail as well
        }
        if (!begins_with(t, *name)) {
            continue;
        }
        const size_t length = std::strlen(*name);
        // Only the first list name that begins the text is tried.
        char* u = first_nonmatch(t + length, BLANKS);
        if (u == nullptr || (*u != ',' && *u != ')') || (*u == ',' && entry.nparams == 1) ||
            (*u == ')' && entry.nparams == 2)) {
            return true;
        }
        if ((entry.flags & INST_INDIRECT) != 0) {
            expand_indirect(out, entry.name, *name);
        }
        return false;
    }
    return true;
}

bool parse_stmt0(const inst_def& entry, output* out) {
    if (entry.nparams != 0) {
        return true;
    }
    if ((entry.flags & INST_END) != 0) {
        end_stmt_found = true;
    } else if ((entry.flags & INST_INDIRECT) != 0) {
        // Only the two 32-bit forms take no parameter; they always name all of A.
        expand_indirect(out, entry.name, "AREG31_0");
    }
    return false;
}

void write_opening(output* out, const char* array_name) {
    put_text(out, "const uint8_t ");
    put_text(out, array_name);
    put_text(out, "[] = {\n");
}

void write_closing(output* out) {
    if (!end_stmt_found) {
        put_text(out, "END\n");
    }
    char code_size[64];
    std::snprintf(code_size, sizeof code_size, "};\n\n// Code Size:  %u bytes\n",
                  static_cast<unsigned>(pc - origin));
    put_text(out, code_size);
}

namespace {

char input_block[1 << 16];

// Ends the line collected so far and translates it; true when it failed.
bool end_line(char* line, unsigned count, bool holds_nul, output* out) {
    line[count] = '\0';
    // A NUL would silently cut the rest of the line out of the translation.
    if (holds_nul) {
        report_line(SEVERITY_ERROR, "contains a NUL character");
        return true;
    }
    return parse_line(line, out);
}

} // namespace

// The input is taken a block at a time and each block walked from one LF to the
// next, which gives exactly the result of reading it a character at a time.
read_result translate_source(FILE* in, output* out, char* line) {
    unsigned count = 0;
    bool failed = false;
    bool holds_nul = false;
    size_t have = 0;
    size_t at = 0;
    // Nothing after the line holding END is translated or copied.
    while (!end_stmt_found) {
        if (at == have) {
            have = std::fread(input_block, 1, sizeof input_block, in);
            at = 0;
            if (have == 0) {
                break;
            }
        }
        const char* start = input_block + at;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', have - at));
        const char* stop = lf != nullptr ? lf : input_block + have;
        // Copy up to the LF in one pass, dropping every CR and noting any NUL.
        for (const char* p = start; p < stop; ++p) {
            if (*p == '\r') {
                continue;
            }
            if (count == MAX_LINE_CHARS) {
                report_line(SEVERITY_ERROR, "contains more than %u characters", MAX_LINE_CHARS);
                return READ_LINE_TOO_LONG;
            }
            holds_nul = holds_nul || *p == '\0';
            line[count++] = *p;
        }
        at = static_cast<size_t>(stop - input_block);
        if (lf != nullptr) {
            ++at;
            failed = end_line(line, count, holds_nul, out) || failed;
            count = 0;
            holds_nul = false;
            ++linenum;
        }
    }
    if (!end_stmt_found && std::ferror(in)) {
        return READ_ERROR;
    }
    // Many editors end a file without a line feed; its last line is not read.
    line[count] = '\0';
    if (!end_stmt_found && std::strspn(line, BLANKS) < count) {
        report_line(SEVERITY_WARNING, "last line has no line feed; ignored");
    }
    return failed ? READ_LINES_FAILED : READ_OK;
}
