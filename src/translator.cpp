// The translator: reads the source in blocks, line by line, and turns each
// statement into its macro call in the header, with the checks that keep the
// header's array the source's program in every C and C++ mode.
#include "translator.h"

#include "indirect.h"
#include "inst_table.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>

// Everything here but the few functions translator.h declares is this file's own.
// The parse functions follow one convention for their results: true means the
// line or statement failed (already reported) or needs special handling, which
// the comment at each says.

#if defined(__GNUC__)
#define TRANSLATOR_PRINTF(format_index)                                                            \
    __attribute__((format(printf, format_index, format_index + 1)))
#else
#define TRANSLATOR_PRINTF(format_index)
#endif

namespace {

// Gives the caller a message about `line`, with the columns of the statement
// [first, end) where the translator knows them (first null: the whole line).
void deliver(translation* t, uint32_t line, const char* first, const char* end, severity level,
             const char* format, va_list arguments) {
    // A message quotes at most a line, and a few names.
    char text[MAX_LINE_CHARS + 256];
    std::vsnprintf(text, sizeof text, format, arguments);
    const unsigned first_column =
        first != nullptr ? static_cast<unsigned>(first - t->line_start + 1) : 0;
    const unsigned last_column = first != nullptr ? static_cast<unsigned>(end - t->line_start) : 0;
    t->on_message(t->context, {line, first_column, last_column, level, text});
}

void report_on(translation* t, uint32_t line, const char* first, const char* end, severity level,
               const char* format, ...) TRANSLATOR_PRINTF(6);
void report_on(translation* t, uint32_t line, const char* first, const char* end, severity level,
               const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    deliver(t, line, first, end, level, format, arguments);
    va_end(arguments);
}

// A message about the whole line being translated.
void report_line(translation* t, severity level, const char* format, ...) TRANSLATOR_PRINTF(3);
void report_line(translation* t, severity level, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    deliver(t, t->linenum, nullptr, nullptr, level, format, arguments);
    va_end(arguments);
}

// An error about the statement [first, end) of the line being translated.
void report_statement(translation* t, const char* first, const char* end, const char* format, ...)
    TRANSLATOR_PRINTF(4);
void report_statement(translation* t, const char* first, const char* end, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    deliver(t, t->linenum, first, end, SEVERITY_ERROR, format, arguments);
    va_end(arguments);
}

// A row of the layout, for a caller that asked for it.
void give_row(const translation* t, row_kind kind, const char* first, const char* end,
              uint32_t address, unsigned size) {
    const bool statement = kind == ROW_STATEMENT || kind == ROW_LABEL;
    t->on_row(t->context,
              {kind, t->linenum, statement ? static_cast<unsigned>(first - t->line_start + 1) : 0,
               statement ? static_cast<unsigned>(end - t->line_start) : 0, address, size, first,
               static_cast<size_t>(end - first)});
}

// A row without a statement: the text [first, end) of the line being translated.
void give_text_row(const translation* t, const char* first, const char* end) {
    give_row(t, ROW_TEXT, first, end, 0, 0);
}

// Character sets the scanners work with.
constexpr const char* BLANKS = " \t";
constexpr const char* HEADER_SKIP = " \t/";
constexpr const char* MNEMONIC_DELIMS = " \t(";

// The first character of text that is not in set, or null when only such
// characters stand before its end. Header lines only: the library's scan.
[[nodiscard]] char* first_nonmatch(char* text, const char* set) {
    char* found = text + std::strspn(text, set);
    return *found != '\0' ? found : nullptr;
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

// The characters of a parameter's word; list names are made of them. Looked up
// in a table of all 256: at 3448f68, `valgrind --tool=callgrind Zolvek -q -o o.h
// src.ep` on bench/generate.awk's 10 MB source (a RelWithDebInfo build) counts
// 232.3 million instructions with four comparisons in place of the table, and
// 219.0 million with it.
struct word_chars {
    bool of[256];
};

constexpr word_chars classify_word_chars() {
    word_chars table{};
    for (int c = 0; c < 256; ++c) {
        table.of[c] =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    }
    return table;
}

constexpr word_chars WORD_CHARS = classify_word_chars();

bool is_word_char(char c) {
    return WORD_CHARS.of[static_cast<unsigned char>(c)];
}

// What a character means to the walk through a statement, looked up in a table
// of all 256. Measured at aa1544f with `valgrind --tool=callgrind Zolvek -q -o
// o.h src.ep` on bench/generate.awk's 10 MB source, a Release build: 222.9
// million instructions, and 229.6 million with a switch in place of the table.
enum char_class : uint8_t {
    CHAR_OTHER,
    CHAR_CLOSE,     // ')'
    CHAR_COMMA,     // C's separator of array elements
    CHAR_RARE,      // quotes, and '?' that trigraphs begin: C reads them specially
    CHAR_BLANK,     // one of BLANKS: ends the mnemonic
    CHAR_OPEN,      // '(', the rest of MNEMONIC_DELIMS
    CHAR_SEMICOLON, // ends the statement
    CHAR_SLASH,     // a comment when another follows
    CHAR_NUL,       // the end of the line
};

struct char_classes {
    char_class of[256];
};

constexpr char_classes classify() {
    char_classes table{};
    for (const char* c = MNEMONIC_DELIMS; *c != '\0'; ++c) {
        table.of[static_cast<unsigned char>(*c)] = CHAR_OPEN;
    }
    for (const char* c = BLANKS; *c != '\0'; ++c) {
        table.of[static_cast<unsigned char>(*c)] = CHAR_BLANK;
    }
    table.of[static_cast<unsigned char>(')')] = CHAR_CLOSE;
    table.of[static_cast<unsigned char>(',')] = CHAR_COMMA;
    for (const char* c = "\"'?"; *c != '\0'; ++c) {
        table.of[static_cast<unsigned char>(*c)] = CHAR_RARE;
    }
    table.of[static_cast<unsigned char>(';')] = CHAR_SEMICOLON;
    table.of[static_cast<unsigned char>('/')] = CHAR_SLASH;
    table.of[0] = CHAR_NUL;
    return table;
}

constexpr char_classes CLASSES = classify();
constexpr const char_class* CLASS_OF = CLASSES.of;

[[nodiscard]] char* skip_blanks(char* text) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    return text;
}

// The blanks GCC allows between a backslash and the end of the line it joins to
// the next.
bool is_splice_blank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

// True when the text, as the header holds it, ends in a backslash or its
// trigraph "??/", blanks after it allowed: C then joins the next line to it.
[[nodiscard]] bool ends_in_line_splice(const char* text, const char* end) {
    while (end > text && is_splice_blank(end[-1])) {
        --end;
    }
    if (end > text && end[-1] == '\\') {
        return true;
    }
    return end - text >= 3 && end[-3] == '?' && end[-2] == '?' && end[-1] == '/';
}

// Called for each line the header receives, before the line is translated; true
// when the line before it joins this one, which holds a statement. A splice is
// harmless before a comment or a blank line; a statement or the frame's END
// joined to it would vanish from the compiled array.
bool joins_statement(translation* t, bool holds_statement) {
    const uint32_t joining = t->splice_line;
    t->splice_line = 0;
    if (joining == 0 || !holds_statement) {
        return false;
    }
    report_on(t, joining, nullptr, nullptr, SEVERITY_ERROR,
              "line ends with '\\', which joins the next line to it in C");
    return true;
}

// The source's name in a directive, as a C string literal: backslashes (Windows
// paths), quotes and control characters escaped, and '?' so that no trigraph
// forms.
void put_c_string(output* out, const char* text) {
    put(out, "\"", 1);
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char u = static_cast<unsigned char>(*c);
        char escaped[8];
        if (u < 0x20 || u == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\%03o", u);
            put_text(out, escaped);
        } else {
            if (*c == '\\' || *c == '"' || *c == '?') {
                put(out, "\\", 1);
            }
            put(out, c, 1);
        }
    }
    put(out, "\"", 1);
}

// Before a source line the header receives (--line-directives): a #line
// directive where C would otherwise give the header line another number, after
// skipped blank lines and expansion blocks. A directive right after a line that
// ends in a splice would be joined to it, so an empty line comes between.
void mark_source_line(translation* t, output* out) {
    if (t->presumed_line != t->linenum) {
        if (t->splice_line != 0) {
            put(out, "\n", 1);
        }
        char directive[32];
        put(out, directive,
            static_cast<size_t>(std::snprintf(directive, sizeof directive, "#line %u",
                                              static_cast<unsigned>(t->linenum))));
        if (t->presumed_line == 0) {
            put(out, " ", 1);
            put_c_string(out, t->line_directive_name);
        }
        put(out, "\n", 1);
    }
    t->presumed_line = t->linenum + 1;
}

// Whether a line whose first non-blank character is at `first` holds a
// statement: anything but a blank line or a comment.
[[nodiscard]] bool holds_statement(const char* first) {
    return *first != '\0' && !(first[0] == '/' && first[1] == '/');
}

// At the end of the text that a translated line gives the header.
// Most lines end in a ';' or a comment's last letter, which no splice does: at
// 3448f68 with the word table above, the same callgrind count gives 219.0
// million instructions without this first look at the last character, and
// 215.5 million with it.
void note_line_end(translation* t, const char* text, const char* end) {
    const char last = end > text ? end[-1] : '\0';
    const bool may_splice = last == '\\' || last == '/' || is_splice_blank(last);
    t->splice_line = may_splice && ends_in_line_splice(text, end) ? t->linenum : 0;
}

// The ways a C compiler may read an echoed statement, as bits of a reading.
// Trigraphs are read in the ISO modes before C23 and C++17, and in any mode with
// -trigraphs. C23 and C++14 on read a '\'' inside a pp-number as a digit
// separator, and there GCC and clang differ in what else a pp-number takes in.
enum reading_bits : unsigned {
    TRIGRAPHS = 1,
    SEPARATORS = 2,
    DOLLAR_IN_NUMBERS = 4,  // GCC: '$' goes on a pp-number
    P_SIGN_IN_HEX_ONLY = 8, // clang's C++: "p+" goes on only a pp-number that begins "0x"
    NO_P_SIGN = 16,         // GCC's ISO C++14: "p+" goes on no pp-number
};

// How the pp-numbers of C99 to C17 (no separators), of the C23 and C++ grammar
// (and clang's C), of clang's C++, of GCC and of GCC's ISO C++14 end.
constexpr unsigned NUMBER_READINGS[] = {
    0,
    SEPARATORS,
    SEPARATORS | P_SIGN_IN_HEX_ONLY,
    SEPARATORS | DOLLAR_IN_NUMBERS,
    SEPARATORS | DOLLAR_IN_NUMBERS | NO_P_SIGN,
};

// One character of the statement as C's first phase reads it. With trigraphs
// "??/" is a backslash, "??'" a caret and "??(" "??)" brackets, none of which
// quotes or nests; the other trigraphs matter to no scan here. *next is where the
// character after it starts.
char c_char(const char* c, const char* e, unsigned reading, const char** next) {
    static const char FROM[] = "/'()";
    static const char TO[] = "\\^[]";
    const char* hit = nullptr;
    if ((reading & TRIGRAPHS) != 0 && e - c >= 3 && c[0] == '?' && c[1] == '?') {
        hit = static_cast<const char*>(std::memchr(FROM, c[2], sizeof FROM - 1));
    }
    *next = hit != nullptr ? c + 3 : c + 1;
    return hit != nullptr ? TO[hit - FROM] : *c;
}

// Where the C literal whose quote ends at `from` ends, after its closing quote,
// or null when the statement [.., e) ends first.
[[nodiscard]] const char* past_literal(const char* from, const char* e, char quote,
                                       unsigned reading) {
    while (from < e) {
        const char c = c_char(from, e, reading, &from);
        if (c == quote) {
            return from;
        }
        if (c == '\\' && from < e) {
            c_char(from, e, reading, &from); // the escaped character
        }
    }
    return nullptr;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Whether ch, read at [.., next), goes on an identifier: GCC and clang take '$',
// UTF-8 and "\u" names in too.
bool continues_identifier(char ch, const char* next, const char* e) {
    return is_word_char(ch) || ch == '$' || static_cast<unsigned char>(ch) >= 0x80 ||
           (ch == '\\' && next < e && (*next == 'u' || *next == 'U'));
}

// Where the identifier or pp-number that starts at c ends, as the separator
// reading has them. In a pp-number a '\'' before a letter, digit or '_' is a
// digit separator, which takes that character along (so a sign after a
// separator's 'e' ends the number, as GCC and clang have it), and a sign goes on
// after an 'e' or, where the reading allows, a 'p'.
[[nodiscard]] const char* past_word(const char* c, const char* e, unsigned reading) {
    const bool number = is_digit(*c) || *c == '.';
    const bool hex = e - c >= 2 && c[0] == '0' && (c[1] == 'x' || c[1] == 'X');
    const bool p_sign = (reading & NO_P_SIGN) == 0 && (hex || (reading & P_SIGN_IN_HEX_ONLY) == 0);
    while (c < e) {
        const char* next = nullptr;
        const char ch = c_char(c, e, reading, &next);
        const bool sign = next < e && (*next == '+' || *next == '-');
        if (number && sign && (ch == 'e' || ch == 'E' || (p_sign && (ch == 'p' || ch == 'P')))) {
            ++next;
        } else if (number && ch == '\'' && next < e && is_word_char(*next)) {
            ++next;
        } else if (ch == '$' && number && (reading & DOLLAR_IN_NUMBERS) == 0) {
            return c;
        } else if (!continues_identifier(ch, next, e) && !(number && ch == '.')) {
            return c;
        }
        c = next;
    }
    return c;
}

// The echo [from, e) of the statement that begins at `statement`, read as C
// reads it in the given reading; true when it is not one macro call (reported).
[[nodiscard]] bool echo_breaks_program_as(translation* t, const char* statement, const char* from,
                                          const char* e, const char* mnemonic, unsigned reading) {
    int depth = 0;
    bool closed = false; // the call's parentheses are complete
    for (const char* c = from; c < e;) {
        const char* next = nullptr;
        const char ch = c_char(c, e, reading, &next);
        if (ch == '/' && next < e && *next == '*') {
            const char* close = next + 1;
            while (close + 1 < e && !(close[0] == '*' && close[1] == '/')) {
                ++close;
            }
            if (close + 1 >= e) {
                report_statement(t, statement, e + 1,
                                 "'/*' opens a C comment that hides the lines after it");
                return true;
            }
            next = close + 2;
        } else if (ch == ' ' || ch == '\t' || ch == '\f' || ch == '\v') {
            // C's blanks separate its tokens and add nothing
        } else if (depth == 0 && (closed || ch != '(')) {
            // Outside the call anything but blanks and comments is C's to read: a
            // ',' or a macro name there would add array elements that the code
            // size does not count.
            if (ch == ',') {
                report_statement(t, statement, e + 1,
                                 "',' outside the parentheses adds bytes to %s", mnemonic);
            } else {
                report_statement(t, statement, e + 1,
                                 "only blanks and comments may stand outside the parentheses of %s",
                                 mnemonic);
            }
            return true;
        } else if (ch == '"' && c[-1] == 'R') {
            // A raw string (GNU C) ends only at )" and may run past the statement.
            report_statement(t, statement, e + 1,
                             "a raw string literal may not stand in a statement");
            return true;
        } else if ((reading & SEPARATORS) != 0 && (continues_identifier(ch, next, e) ||
                                                   (ch == '.' && next < e && is_digit(*next)))) {
            // Read whole, so that a '\'' in a number is its separator, and one
            // after a name (u8'a') begins a literal.
            next = past_word(c, e, reading);
        } else if (ch == '"' || ch == '\'') {
            // An open literal would run on to the end of the line in C.
            next = past_literal(next, e, ch, reading);
            if (next == nullptr) {
                report_statement(t, statement, e + 1, "missing '%c'", ch);
                return true;
            }
        } else if (ch == '(') {
            ++depth;
        } else if (ch == ')') {
            closed = --depth == 0;
        }
        c = next;
    }
    // A parenthesis left open would take the statements after it into the call.
    if (depth > 0) {
        report_statement(t, statement, e + 1, "missing '%c'", ')');
    }
    return depth > 0;
}

// An echoed statement must reach C as one macro call in every reading a firmware
// build may use: a '/*' left open would hide the lines after it, text outside
// the call's parentheses (the first '(' and the ')' that balances it) such as a
// ',' or a macro name would add array elements that the code size does not
// count, and an open literal or parenthesis would take in the lines after it.
// Blanks, complete comments and literals are skipped as C skips them. True when
// the text [t, e) fails in a reading, with that reading's message.
[[nodiscard, gnu::noinline]] bool echo_breaks_program(translation* t, const char* statement,
                                                      const char* from, const char* e,
                                                      const char* mnemonic) {
    // Each way of ending pp-numbers is read with and without trigraphs: c2x and
    // c++14 read separators and trigraphs, gnu2x and c++17 separators alone. A
    // reading with trigraphs differs from the one without only where "??" stands,
    // and one with separators from the first only where a '\'' does, so the rest
    // are skipped. Measured at dfc3b84 with callgrind on a 1.2 MB source whose every
    // statement holds a '\'': 45.0 million instructions with the two readings
    // without separators, 213.3 million with all ten, 113.7 million skipping.
    // Not inlined: at 367dd49 the calls in parse_stmt cost the usual path 337,000
    // of 229.1 million instructions (bench/generate.awk's 10 MB source).
    const bool quote = std::memchr(from, '\'', static_cast<size_t>(e - from)) != nullptr;
    bool trigraph = false;
    for (const char* c = from; c + 1 < e && !trigraph; ++c) {
        trigraph = c[0] == '?' && c[1] == '?';
    }
    for (const unsigned numbers : NUMBER_READINGS) {
        if (numbers != 0 && !quote) {
            break; // the first reading is plain
        }
        if (echo_breaks_program_as(t, statement, from, e, mnemonic, numbers) ||
            (trigraph &&
             echo_breaks_program_as(t, statement, from, e, mnemonic, numbers | TRIGRAPHS))) {
            return true;
        }
    }
    return false;
}

// Quotes text up to `stop` in an error about the statement [first, end): a NUL
// stands there for the report.
void report_quoting(translation* t, const char* format, char* text, char* stop, const char* first,
                    const char* end) {
    const char saved = *stop;
    *stop = '\0';
    report_statement(t, first, end, format, text);
    *stop = saved;
}

// Reads one hexadecimal number the way "%x" does (leading white space, optional
// sign, optional 0x, hex digits), but the same on every platform. True when there
// is no number, when "0x" has no digit after it, or when the value needs more than
// 32 bits. A minus negates modulo 2^32. *end is where the scan stopped.
[[nodiscard]] bool scan_hex(const char* text, uint32_t* value, const char** end) {
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
    *end = p;
    return false;
}

bool is_letter_or_underscore(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Reads the ORIGIN address at text: origin and pc take it. A text without a
// usable number is warned about and leaves the line an ordinary comment, so
// the result is always false: an ORIGIN line never fails. A number that runs
// into a word ("ORIGINALLY", "ORIGIN DATA") and an origin that replaces another
// one are taken too, but warned about: each moves the whole program.
bool parse_addr(translation* t, char* text) {
    uint32_t address = 0;
    const char* end = nullptr;
    if (scan_hex(text, &address, &end)) {
        report_line(t, SEVERITY_WARNING, "invalid ORIGIN address; treating line as comment");
        return false;
    }
    if (is_letter_or_underscore(*end)) {
        int length = 0;
        while (length < 20 && is_word_char(end[length])) {
            ++length;
        }
        report_line(t, SEVERITY_WARNING, "ORIGIN read as 0x%X, but the number runs into '%.*s'",
                    static_cast<unsigned>(address), length, end);
    }
    if (t->org_found && address != t->origin) {
        report_line(t, SEVERITY_WARNING, "ORIGIN 0x%X replaces 0x%X from line %u",
                    static_cast<unsigned>(address), static_cast<unsigned>(t->origin),
                    static_cast<unsigned>(t->origin_line));
    }
    t->origin = address;
    t->pc = address;
    t->org_found = true;
    t->origin_line = t->linenum;
    return false;
}

// A label in the comment at text ("//" first): after blanks the word LABEL,
// blanks, and a C identifier that ends at a blank or the line's end, whose
// place goes to [*name, *name_end). False for any other comment.
bool find_label(const char* text, const char** name, const char** name_end) {
    const char* at = text + 2;
    while (*at == ' ' || *at == '\t') {
        ++at;
    }
    if (std::strncmp(at, "LABEL", 5) != 0 || (at[5] != ' ' && at[5] != '\t')) {
        return false;
    }
    at += 5;
    while (*at == ' ' || *at == '\t') {
        ++at;
    }
    const char* end = at;
    while (is_word_char(*end)) {
        ++end;
    }
    *name = at;
    *name_end = end;
    return is_letter_or_underscore(*at) && (*end == '\0' || *end == ' ' || *end == '\t');
}

// Whether the comment at text ("//" first) may hold a label: the first letter
// after its blanks is an L. Most comments are no label, and pay only this: at
// 1e7dd79 the callgrind count on bench/generate.awk's 10 MB source is 217.2
// million instructions with the whole check for every comment, 212.1 million
// with this first look.
bool may_hold_label(const char* text) {
    const char* at = text + 2;
    while (*at == ' ' || *at == '\t') {
        ++at;
    }
    return *at == 'L';
}

// Takes the label that the comment at text holds, if any, naming the program
// byte at `offset` from the origin: a row for a caller that wants the layout,
// and where labels are written out its place in the table. True when it fails
// its line (reported): a second label of a name, or one the table cannot hold.
bool take_label(translation* t, const char* text, uint32_t offset) {
    const char* name = nullptr;
    const char* end = nullptr;
    if (!find_label(text, &name, &end)) {
        return false;
    }
    if (t->on_row != nullptr) {
        give_row(t, ROW_LABEL, name, end, offset, 0); // the origin may still change
    }
    if (!t->keep_labels) {
        return false;
    }
    const int length = static_cast<int>(end - name);
    for (unsigned i = 0; i < t->label_count; ++i) {
        const label& other = t->labels[i];
        if (std::strncmp(other.name, name, static_cast<size_t>(length)) == 0 &&
            other.name[length] == '\0') {
            report_line(t, SEVERITY_ERROR, "label '%.*s' is already defined on line %u", length,
                        name, static_cast<unsigned>(other.line));
            return true;
        }
    }
    if (length > static_cast<int>(MAX_LABEL_CHARS) || t->label_count == MAX_LABELS) {
        report_line(t, SEVERITY_ERROR,
                    length > static_cast<int>(MAX_LABEL_CHARS)
                        ? "label '%.*s' is longer than 63 characters"
                        : "label '%.*s' is one more than the 1024 a program may have",
                    length, name);
        return true;
    }
    label& taken = t->labels[t->label_count++];
    std::memcpy(taken.name, name, static_cast<size_t>(length));
    taken.name[length] = '\0';
    taken.offset = offset;
    taken.line = t->linenum;
    return false;
}

// Looks for the ORIGIN directive in a header comment (text is where its first
// non-blank character stands). Always false, as parse_addr.
bool parse_org(translation* t, char* text) {
    char* word = first_nonmatch(text, HEADER_SKIP);
    // A bare "ORIGIN" ending the line is an ordinary comment.
    if (word == nullptr || std::strncmp(word, "ORIGIN", 6) != 0 || word[6] == '\0') {
        return false;
    }
    return parse_addr(t, word + 6);
}

// A header-phase line. A comment is copied to out, and its ORIGIN, if any, read.
// True for a line that is not a comment: the first statement line, which
// parse_line goes on to translate, or before any ORIGIN a fault (reported).
[[nodiscard]] bool parse_comment(translation* t, char* line, output* out) {
    char* first = first_nonmatch(line, BLANKS);
    if (first == nullptr) {
        return false; // blank lines before the first statement vanish
    }
    if (first[0] == '/' && first[1] == '/') {
        put_text(out, line);
        put(out, "\n", 1);
        return parse_org(t, first);
    }
    if (!t->org_found) {
        report_line(t, SEVERITY_ERROR, "expected an ORIGIN directive");
    }
    return true;
}

// Checks the parameters at text (after the '(', a ')' follows in the line): the
// first one must be a name from the entry's list, where it has one, and their
// number must be the entry's. *list_name is that name, where the entry has a
// list. True when they are invalid (the caller reports it).
[[nodiscard]] bool parse_params(char* text, const inst_def& entry, const char** list_name) {
    // A ')' follows in the statement, so the blanks end before the line does.
    char* first = skip_blanks(text);
    if (entry.nparams == 0) {
        return *first != ')'; // only an empty pair is allowed
    }
    if (entry.params == nullptr) {
        return *first == ')'; // any first parameter will do, but there must be one
    }
    // Only the first parameter's word is looked up. A list name that merely
    // begins the word would be followed by a letter, digit or '_', which is
    // neither ',' nor ')', so the whole word gives the same verdict.
    char* word_end = first;
    while (is_word_char(*word_end)) {
        ++word_end;
    }
    *list_name = find_list_name(entry.params, first, static_cast<size_t>(word_end - first));
    if (*list_name == nullptr) {
        return true;
    }
    const char u = *skip_blanks(word_end);
    return (u != ',' && u != ')') || (u == ',' && entry.nparams == 1) ||
           (u == ')' && entry.nparams == 2);
}

// Where the parts of a statement lie.
struct statement_parts {
    char* mnemonic_end; // where the mnemonic ends: a blank, '(', ';', "//" or the NUL
    char* open_paren;   // the first '(' after the mnemonic, or null
    char* close_paren;  // the first ')' after open_paren, or null
    char* semicolon;    // the ';' that ends the statement
    // Anything but one pair of parentheses with the commas between them calls for
    // the full check of the echo: a ',' outside them, a second '(' or ')', a
    // "/*", a quote or a '?', or other text around the pair.
    bool check_echo;
};

// Finds the parts of the statement whose mnemonic starts at `mnemonic`: one walk
// to the end of the mnemonic, and one from there to the ';'. True when a "//" or the
// end of the line comes before any ';' (then only mnemonic_end and semicolon,
// where the walk stopped, are set).
[[nodiscard]] bool find_statement_parts(char* mnemonic, statement_parts* parts) {
    char* mnemonic_end = mnemonic;
    for (;; ++mnemonic_end) {
        const char_class kind = CLASS_OF[static_cast<unsigned char>(*mnemonic_end)];
        if (kind == CHAR_OTHER || kind == CHAR_CLOSE || kind == CHAR_COMMA || kind == CHAR_RARE) {
            continue;
        }
        if (kind != CHAR_SLASH || mnemonic_end[1] == '/') {
            break; // a lone '/' belongs to the mnemonic
        }
    }
    char* open_paren = nullptr;
    char* close_paren = nullptr;
    bool check_echo = false;
    char* at = mnemonic_end;
    for (;; ++at) {
        const char_class kind = CLASS_OF[static_cast<unsigned char>(*at)];
        if (kind == CHAR_OTHER || kind == CHAR_BLANK) {
            continue;
        }
        if (kind == CHAR_SEMICOLON) {
            break;
        }
        if (kind == CHAR_OPEN) {
            check_echo = check_echo || open_paren != nullptr;
            open_paren = open_paren != nullptr ? open_paren : at;
        } else if (kind == CHAR_CLOSE) {
            check_echo = check_echo || close_paren != nullptr;
            close_paren = close_paren != nullptr || open_paren == nullptr ? close_paren : at;
        } else if (kind == CHAR_COMMA) {
            check_echo = check_echo || open_paren == nullptr || close_paren != nullptr;
        } else if (kind == CHAR_RARE || (kind == CHAR_SLASH && at[1] == '*')) {
            check_echo = true;
        } else if (kind == CHAR_NUL || at[1] == '/') {
            parts->mnemonic_end = mnemonic_end;
            parts->semicolon = at;
            return true;
        }
    }
    // Text outside the pair (none, as a rule) is for the full check to judge.
    check_echo = check_echo || (open_paren != nullptr ? open_paren : at) != mnemonic_end ||
                 (close_paren != nullptr && close_paren + 1 != at);
    *parts = {mnemonic_end, open_paren, close_paren, at, check_echo};
    return false;
}

// Translates the statement that starts at `statement` (leading blanks included)
// and whose mnemonic starts at `mnemonic`. `pending` is where the line's
// unwritten text begins. Returns the statement's ';', or null when it failed
// (reported): a position, as the scanners return.
[[nodiscard]] char* parse_stmt(translation* t, char* statement, char* mnemonic, char** pending,
                               output* out) {
    statement_parts parts;
    if (find_statement_parts(mnemonic, &parts)) {
        report_quoting(t, "missing ';' after '%s'", statement, parts.semicolon, mnemonic,
                       parts.semicolon);
        return nullptr;
    }
    char* const semicolon = parts.semicolon;
    char* const statement_end = semicolon + 1;
    // A whole-word match: RDREG8 does not match RDREG8I, nor RDREG8I RDREG8.
    const inst_def* entry =
        find_instruction(mnemonic, static_cast<size_t>(parts.mnemonic_end - mnemonic));
    if (entry == nullptr) {
        report_quoting(t, "invalid statement '%s'", statement, semicolon, mnemonic, statement_end);
        return nullptr;
    }
    const bool indirect = (entry->flags & INST_INDIRECT) != 0;
    if (indirect) {
        // Its expansion block stands in place of the statement's text.
        put(out, *pending, static_cast<size_t>(statement - *pending));
        *pending = statement;
    }

    // Only the two 32-bit indirect forms take no parameter; they always name all of A.
    const char* list_name = "AREG31_0";
    if (parts.open_paren != nullptr) {
        if (parts.close_paren == nullptr) {
            report_statement(t, mnemonic, statement_end, "missing '%c'", ')');
            return nullptr;
        }
        if (parse_params(parts.open_paren + 1, *entry, &list_name)) {
            report_statement(t, mnemonic, statement_end, "invalid parameters for %s", entry->name);
            return nullptr;
        }
    } else if (entry->nparams != 0) {
        // This quote runs on past the ';' to the comment or the end of the line.
        char* comment = std::strstr(semicolon, "//");
        char* stop = comment != nullptr ? comment : semicolon + std::strlen(semicolon);
        report_quoting(t, "invalid statement '%s'", statement, stop, mnemonic, stop);
        return nullptr;
    }
    // An indirect statement's text is not echoed, so C never sees it.
    if (parts.check_echo && !indirect &&
        echo_breaks_program(t, mnemonic, parts.mnemonic_end, semicolon, entry->name)) {
        return nullptr;
    }
    // Only now that the statement holds does END end the reading.
    if ((entry->flags & INST_END) != 0) {
        t->end_stmt_found = true;
    }
    if (t->on_row != nullptr) {
        give_row(t, ROW_STATEMENT, mnemonic, statement_end, t->pc, entry->size);
    }
    if (indirect) {
        expand_indirect(t, out, entry->name, list_name);
        *pending = statement_end;
    } else if ((entry->flags & INST_END) != 0) {
        // END's ';' is dropped from the echo.
        put(out, *pending, static_cast<size_t>(semicolon - *pending));
        *pending = statement_end;
    } else {
        *semicolon = ',';
    }
    t->pc += entry->size;
    return semicolon;
}

// The statement phase of a line whose first non-blank character is at `first`:
// each statement is translated, and the line's text given to out. True when a
// statement failed (reported); the statements after it are not read.
[[nodiscard]] bool translate_statements(translation* t, char* line, char* end, char* first,
                                        output* out) {
    // Bytes from `pending` on are not written yet: a plain statement is echoed
    // where it stands, with its ';' turned into ',' in place, so that a line
    // without indirect statements goes out in one piece.
    char* pending = line;
    char* rest = line;  // where the next statement (leading blanks included) starts
    char* next = first; // its first non-blank character
    for (;; next = skip_blanks(rest)) {
        if (*next == '\0' || (next[0] == '/' && next[1] == '/')) {
            break; // the trailing blanks and the comment are copied as they stand
        }
        // Nothing after END is read, so a statement there would be lost (and its
        // echo, without the ',' END drops, would not compile).
        char* semicolon = t->end_stmt_found ? nullptr : parse_stmt(t, rest, next, &pending, out);
        if (semicolon == nullptr) {
            if (t->end_stmt_found) {
                report_statement(t, next, end, "statement after END");
            }
            if (t->on_row != nullptr) {
                give_text_row(t, next, end); // from the failing statement on
            }
            put_in_place(out, pending, static_cast<size_t>(rest - pending));
            return true;
        }
        rest = semicolon + 1;
    }
    // The rest of the line, or all of it without statements.
    if (t->on_row != nullptr && (*next != '\0' || next == first)) {
        give_text_row(t, next == first ? line : next, end);
    }
    const bool label_failed =
        *next == '/' && may_hold_label(next) && take_label(t, next, t->pc - t->origin);
    if (!label_failed) {
        note_line_end(t, line, end); // a failed line is reported once
    }
    *end = '\n';
    put_in_place(out, pending, static_cast<size_t>(end + 1 - pending));
    return label_failed;
}

// Translates one complete line to out: the text from line to end, where a NUL
// stands (no CR, no LF, no other NUL). The line is edited in place, the byte at
// end becomes its LF before the line's text is given to out. True when the line
// failed; its messages have been written.
[[nodiscard]] bool parse_line(translation* t, char* line, char* end, output* out) {
    char* first = skip_blanks(line);
    if (*first == '\0' && !t->stmt_found) {
        if (t->on_row != nullptr) {
            give_text_row(t, line, end);
        }
        return false; // blank lines before the first statement are not copied
    }
    if (t->line_directive_name != nullptr) {
        mark_source_line(t, out);
    }
    const bool joined = joins_statement(t, holds_statement(first));
    if (!t->stmt_found) {
        const bool statement = parse_comment(t, line, out);
        if (t->on_row != nullptr && (!statement || !t->org_found)) {
            give_text_row(t, line, end);
        }
        if (!statement) {
            // A failed line is reported once: no splice check after a label's error.
            const bool label_failed = may_hold_label(first) && take_label(t, first, 0);
            if (!label_failed) {
                note_line_end(t, line, end);
            }
            return label_failed || joined; // the line is a comment
        }
        if (!t->org_found) {
            return true;
        }
        t->stmt_found = true;
    }
    return translate_statements(t, line, end, first, out) || joined;
}

// Drops every CR in [from, to) by moving the rest of the text left; returns
// where the text now ends.
[[nodiscard]] char* drop_carriage_returns(char* from, char* to) {
    char* kept = static_cast<char*>(std::memchr(from, '\r', static_cast<size_t>(to - from)));
    if (kept == nullptr) {
        return to;
    }
    for (const char* p = kept; p < to; ++p) {
        if (*p != '\r') {
            *kept++ = *p;
        }
    }
    return kept;
}

[[nodiscard]] char* find_lf(char* from, char* stop) {
    return static_cast<char*>(std::memchr(from, '\n', static_cast<size_t>(stop - from)));
}

[[nodiscard]] bool is_too_long(translation* t, const char* line, const char* end) {
    if (end - line <= static_cast<ptrdiff_t>(MAX_LINE_CHARS)) {
        return false;
    }
    report_line(t, SEVERITY_ERROR, "contains more than %u characters", MAX_LINE_CHARS);
    if (t->on_row != nullptr) {
        give_text_row(t, line, line); // its text is not kept
    }
    return true;
}

// A NUL would silently cut the rest of the line out of the translation: the
// line at [line, end) holding one at nul fails.
[[nodiscard]] bool reject_nul_line(translation* t, char* line, const char* nul) {
    joins_statement(t, holds_statement(skip_blanks(line))); // the line before is judged first
    report_line(t, SEVERITY_ERROR, "contains a NUL character");
    if (t->on_row != nullptr) {
        give_text_row(t, line, nul);
    }
    return true;
}

// Translates the complete line [line, end); true when it failed.
[[nodiscard]] bool translate_line(translation* t, char* line, char* end, bool may_hold_nul,
                                  output* out) {
    t->line_start = line;
    if (may_hold_nul) {
        const void* nul = std::memchr(line, '\0', static_cast<size_t>(end - line));
        if (nul != nullptr) {
            return reject_nul_line(t, line, static_cast<const char*>(nul));
        }
    }
    *end = '\0';
    return parse_line(t, line, end, out);
}

// Where the text of the first block begins: a UTF-8 byte-order mark, which some
// editors put at the start of a file, is not part of the source.
[[nodiscard]] char* skip_byte_order_mark(char* block, size_t got) {
    return got >= 3 && std::memcmp(block, "\xEF\xBB\xBF", 3) == 0 ? block + 3 : block;
}

// After the last line read: a splice at its end would join the frame's END or
// "};" to it.
[[nodiscard]] bool ends_joined(translation* t) {
    return joins_statement(t, true);
}

// Where a translation reads its source: a stream, or bytes in memory read in
// the same blocks.
struct source_reader {
    FILE* file; // null for bytes in memory
    const char* data;
    size_t left;
};

[[nodiscard]] size_t read_block(source_reader* in, char* to) {
    if (in->file != nullptr) {
        return std::fread(to, 1, INPUT_READ_SIZE, in->file);
    }
    const size_t got = in->left < INPUT_READ_SIZE ? in->left : INPUT_READ_SIZE;
    if (got != 0) {
        std::memcpy(to, in->data, got);
    }
    in->data += got;
    in->left -= got;
    return got;
}

// Each line is translated where it lies in the block it was read into; a line
// that a read cuts off moves to the front of the block and the next read
// continues it.
[[nodiscard]] read_result translate_lines(translation* t, source_reader* in, output* out,
                                          char* block) {
    bool failed = false;
    size_t carried = 0; // characters of a cut-off line at the front, CRs dropped
    bool first_block = true;
    for (;;) {
        const size_t got = read_block(in, block + carried);
        if (got == 0) {
            break;
        }
        char* const stop = block + carried + got;
        // One look over the block says whether any line in it needs CRs
        // dropped or holds a NUL. Measured at 2e851f8 with `valgrind
        // --tool=callgrind Zolvek -q -o o.h src.ep` on bench/generate.awk's 10 MB
        // source, a Release build: 228.8 million instructions, and 244.0 million
        // when each line is searched for both.
        const bool has_cr = std::memchr(block + carried, '\r', got) != nullptr;
        const bool has_nul = std::memchr(block, '\0', carried + got) != nullptr;
        char* line = first_block ? skip_byte_order_mark(block, got) : block;
        first_block = false;
        for (char* lf = find_lf(line, stop); lf != nullptr;
             line = lf + 1, lf = find_lf(line, stop)) {
            char* end = has_cr ? drop_carriage_returns(line, lf) : lf;
            if (is_too_long(t, line, end)) {
                return READ_LINE_TOO_LONG;
            }
            failed = translate_line(t, line, end, has_nul, out) || failed;
            ++t->linenum;
            // Nothing after the line holding END is read.
            if (t->end_stmt_found) {
                return ends_joined(t) || failed ? READ_LINES_FAILED : READ_OK;
            }
        }
        char* end = has_cr ? drop_carriage_returns(line, stop) : stop;
        if (is_too_long(t, line, end)) {
            return READ_LINE_TOO_LONG;
        }
        carried = static_cast<size_t>(end - line);
        settle_output(out); // before the block's text moves or is read over
        std::memmove(block, line, carried);
    }
    if (in->file != nullptr && std::ferror(in->file)) {
        return READ_ERROR;
    }
    // Many editors end a file without a line feed: its last line counts as if
    // one followed.
    if (carried > 0) {
        failed = translate_line(t, block, block + carried, true, out) || failed;
        ++t->linenum;
    }
    return ends_joined(t) || failed ? READ_LINES_FAILED : READ_OK;
}

} // namespace

translation start_translation(const char* line_directive_name, message_sink on_message,
                              row_sink on_row, void* context) {
    translation t = {};
    t.line_directive_name = line_directive_name;
    t.on_message = on_message;
    t.on_row = on_row;
    t.context = context;
    t.linenum = 1;
    return t;
}

read_result translate_source(translation* t, FILE* in, output* out, char* block) {
    source_reader reader = {in, nullptr, 0};
    return translate_lines(t, &reader, out, block);
}

read_result translate_text(translation* t, const char* text, size_t size, output* out,
                           char* block) {
    source_reader reader = {nullptr, text, size};
    return translate_lines(t, &reader, out, block);
}

void write_opening(output* out, const char* array_name) {
    put_text(out, "const uint8_t ");
    put_text(out, array_name);
    put_text(out, "[] = {\n");
}

void write_header_line_directive(const translation& t, output* out, const char* header_name) {
    if (t.presumed_line == 0) {
        return; // no directive came before: the header's lines are its own
    }
    char directive[32];
    // The line after the directive is the one it numbers.
    put(out, directive,
        static_cast<size_t>(
            std::snprintf(directive, sizeof directive, "#line %lu ", lines_put(out) + 2)));
    put_c_string(out, header_name);
    put(out, "\n", 1);
}

void write_closing(const translation& t, output* out) {
    if (!t.end_stmt_found) {
        put_text(out, "END\n");
    }
    char text[64];
    std::snprintf(text, sizeof text, "};\n\n// Code Size:  %u bytes\n",
                  static_cast<unsigned>(code_size(t)));
    put_text(out, text);
}

namespace {

// The macros' prefix: the array name in upper case, ASCII letters only, so that
// no locale changes it.
constexpr size_t MACRO_PREFIX_SIZE = 256;

void macro_prefix(const char* array_name, char* prefix) {
    size_t length = 0;
    for (; array_name[length] != '\0' && length < MACRO_PREFIX_SIZE - 1; ++length) {
        const char c = array_name[length];
        prefix[length] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    prefix[length] = '\0';
}

} // namespace

void write_defines(const translation& t, output* out, const char* array_name) {
    char prefix[MACRO_PREFIX_SIZE];
    macro_prefix(array_name, prefix);
    char text[sizeof prefix * 3 + 96];
    std::snprintf(text, sizeof text,
                  "#define %s_ORIGIN 0x%08Xu\n#define %s_CODE_SIZE %uu\n#define %s_SIZE %uu\n",
                  prefix, static_cast<unsigned>(t.origin), prefix,
                  static_cast<unsigned>(code_size(t)), prefix,
                  static_cast<unsigned>(array_size(t)));
    put_text(out, text);
    for (unsigned i = 0; i < t.label_count; ++i) {
        std::snprintf(text, sizeof text, "#define %s_LABEL_%s %uu\n", prefix, t.labels[i].name,
                      static_cast<unsigned>(t.labels[i].offset));
        put_text(out, text);
    }
}

void write_declarations(const translation& t, output* out, const char* array_name) {
    char prefix[MACRO_PREFIX_SIZE];
    macro_prefix(array_name, prefix);
    char text[MACRO_PREFIX_SIZE * 2 + 96];
    put_text(out, "/* Declarations of ");
    put_text(out, array_name);
    put_text(out, ", written by Zolvek */\n");
    std::snprintf(text, sizeof text,
                  "#ifndef %s_DECLARATIONS_H\n#define %s_DECLARATIONS_H\n\n#include <stdint.h>\n\n",
                  prefix, prefix);
    put_text(out, text);
    write_defines(t, out, array_name);
    std::snprintf(text, sizeof text, "\nextern const uint8_t %s[%s_SIZE];\n\n#endif\n", array_name,
                  prefix);
    put_text(out, text);
}

uint32_t code_size(const translation& t) {
    return t.pc - t.origin;
}

uint32_t array_size(const translation& t) {
    return code_size(t) + (t.end_stmt_found ? 0u : 1u);
}
