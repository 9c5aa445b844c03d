#include "inst_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool is_prefix(const char* a, const char* b) {
    return std::strncmp(a, b, std::strlen(a)) == 0;
}

// What the translator relies on: whole-word lookup needs unique mnemonics, the
// first-prefix parameter match needs prefix-free lists, and the expansion writes
// exactly 30 bytes in place of each indirect instruction.
TEST(InstructionTable, HoldsTheInvariantsTheTranslatorRelies) {
    int indirect_count = 0;
    for (size_t i = 0; i < INST_COUNT; ++i) {
        const inst_def& entry = INST[i];
        SCOPED_TRACE(entry.name);
        EXPECT_LE(entry.nparams, 2);
        for (size_t j = i + 1; j < INST_COUNT; ++j) {
            EXPECT_STRNE(entry.name, INST[j].name);
        }
        for (const char* const* a = entry.params; a != nullptr && *a != nullptr; ++a) {
            for (const char* const* b = entry.params; *b != nullptr; ++b) {
                EXPECT_TRUE(a == b || !is_prefix(*a, *b)) << *a << " begins " << *b;
            }
        }
        EXPECT_EQ(entry.size == 30, is_indirect(entry.name));
        indirect_count += is_indirect(entry.name) ? 1 : 0;
        if (std::strcmp(entry.name, "END") == 0) {
            EXPECT_EQ(entry.nparams, 0);
            EXPECT_EQ(entry.size, 1);
        }
    }
    EXPECT_EQ(indirect_count, 6);
}

TEST(InstructionTable, IsIndirectComparesWholeCaseSensitiveNames) {
    const struct {
        const char* name;
        bool indirect;
    } cases[] = {
        {"REGWR32BI", true},  {"REGRD8BI", true},  {"REGRD8D", false},    {"RDREG8", false},
        {"regwr32bi", false}, {"REGWR32B", false}, {"REGWR32BIX", false}, {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(is_indirect(c.name), c.indirect) << c.name;
    }
}

} // namespace
