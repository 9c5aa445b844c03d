// The ten-instruction blocks that the indirect register accesses expand to.
#include "indirect.h"

#include "inst_table.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

struct counterpart {
    const char* indirect;
    const char* direct;
};

const counterpart COUNTERPARTS[] = {
    {"REGRD8BI", "RDREG8"}, {"REGRD16BI", "RDREG16"}, {"REGRD32BI", "RDREG32"},
    {"REGWR8BI", "WRREG8"}, {"REGWR16BI", "WRREG16"}, {"REGWR32BI", "WRREG32"},
};

// Direct instruction that an indirect mnemonic stands for (RDREG16 for REGRD16BI,
// ...); any other name maps to itself.
const char* direct_counterpart(const char* name) {
    for (const counterpart& c : COUNTERPARTS) {
        if (std::strcmp(name, c.indirect) == 0) {
            return c.direct;
        }
    }
    return name;
}

// Appends value in upper-case hex with at least `digits` digits, as "%0*X" does.
// Measured at 2e851f8 with `valgrind --tool=callgrind Zolvek -q -o o.h src.ep`
// on bench/generate.awk's 10 MB source, a Release build: 228.8 million
// instructions, and 301.5 million with sprintf.
char* put_hex(char* at, uint32_t value, int digits) {
    static const char HEX[] = "0123456789ABCDEF";
    int length = 8;
    while (length > digits && (value >> (4 * (length - 1))) == 0) {
        --length;
    }
    for (int i = length - 1; i >= 0; --i) {
        *at++ = HEX[(value >> (4 * i)) & 0xFu];
    }
    return at;
}

char* put_piece(char* at, const char* piece) {
    const size_t length = std::strlen(piece);
    std::memcpy(at, piece, length);
    return at + length;
}

// After each line feed of a block when the header carries #line directives:
// every line of the block, and the rest of the statement's line after it, is
// the indirect statement's line to C.
char* put_line_directive(const translation* t, char* at) {
    if (t->line_directive_name == nullptr) {
        return at;
    }
    return at + std::sprintf(at, "#line %u\n", static_cast<unsigned>(t->linenum));
}

// Where the block's instructions lie in its text, for the layout.
struct block_rows {
    const char* name[10]; // each one's mnemonic
    const char* start[10];
    const char* end[10];
    int count;
};

// Notes that the instruction `name` begins at start.
char* begin_row(block_rows* rows, char* start, const char* name) {
    rows->name[rows->count] = name;
    rows->start[rows->count] = start;
    return start;
}

char* end_row(block_rows* rows, char* end) {
    rows->end[rows->count++] = end;
    return end;
}

void give_rows(const translation* t, const block_rows& rows) {
    uint32_t address = t->pc;
    for (int i = 0; i < rows.count; ++i) {
        const unsigned size = find_instruction(rows.name[i], std::strlen(rows.name[i]))->size;
        t->on_row(t->context, {ROW_EXPANSION, t->linenum, 0, 0, address, size, rows.start[i],
                               static_cast<size_t>(rows.end[i] - rows.start[i])});
        address += size;
    }
}

} // namespace

// Block layout from P = pc: four LDADDR/WRREG8 pairs copy the four bytes of B into
// the operands further down (P+29 is the last instruction's second parameter,
// P+25..P+27 the dummy LDADDR's parameter), then the dummy LDADDR(0) at P+24 and
// the direct access at P+28. All addresses wrap in 32 bits like pc itself.
void expand_indirect(const translation* t, output* out, const char* name, const char* reg) {
    const char* direct = direct_counterpart(name);
    const uint32_t pc = t->pc;
    const uint32_t targets[4] = {pc + 29, pc + 25, pc + 26, pc + 27};
    const char* const byte_registers[4] = {"BREG7_0", "BREG15_8", "BREG23_16", "BREG31_24"};
    // The names are at most a few dozen characters: mnemonics and list names.
    char block[2048];
    block_rows rows = {};
    char* at = put_line_directive(t, put_piece(block, "\n"));
    at = put_piece(put_piece(put_piece(put_piece(at, "// "), name), "("), reg);
    at = put_line_directive(t, put_piece(at, ") expansion\n"));
    for (int pair = 0; pair < 4; ++pair) {
        at = put_hex(put_piece(begin_row(&rows, at, "LDADDR"), "LDADDR(0x"), targets[pair], 6);
        at = put_piece(at, "),");
        if (pair == 0) {
            at = put_piece(put_piece(at, "           // Fill in "), direct);
            at = put_piece(put_piece(put_piece(at, "("), reg), ", 0) second parameter");
        } else if (pair == 1) {
            at = put_piece(at, "           // Fill in LDADDR(0) parameter");
        }
        at = put_line_directive(t, put_piece(end_row(&rows, at), "\n"));
        at = put_piece(begin_row(&rows, at, "WRREG8"), "WRREG8(");
        at = put_piece(put_piece(at, byte_registers[pair]), ", 0x");
        at = end_row(&rows, put_piece(put_hex(at, targets[pair] & 0xFFu, 2), "),"));
        at = put_line_directive(t, put_piece(at, "\n"));
    }
    at = put_piece(begin_row(&rows, at, "LDADDR"), "LDADDR(0),\t\t/* <- dummy 0 value */");
    at = put_line_directive(t, put_piece(end_row(&rows, at), "\n"));
    at = put_piece(put_piece(put_piece(begin_row(&rows, at, direct), direct), "("), reg);
    at = end_row(&rows, put_piece(at, ", 0),\t/* <- dummy 0 value */"));
    at = put_line_directive(t, put_piece(at, "\n"));
    put(out, block, static_cast<size_t>(at - block));
    if (t->on_row != nullptr) {
        give_rows(t, rows);
    }
}
