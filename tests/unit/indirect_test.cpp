#include "translate_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const BLOCK_AT_4002 = "\n"
                                  "// REGRD16BI(AREG15_0) expansion\n"
                                  "LDADDR(0x00401F),           // Fill in RDREG16(AREG15_0, 0) "
                                  "second parameter\n"
                                  "WRREG8(BREG7_0, 0x1F),\n"
                                  "LDADDR(0x00401B),           // Fill in LDADDR(0) parameter\n"
                                  "WRREG8(BREG15_8, 0x1B),\n"
                                  "LDADDR(0x00401C),\n"
                                  "WRREG8(BREG23_16, 0x1C),\n"
                                  "LDADDR(0x00401D),\n"
                                  "WRREG8(BREG31_24, 0x1D),\n"
                                  "LDADDR(0),\t\t/* <- dummy 0 value */\n"
                                  "RDREG16(AREG15_0, 0),\t/* <- dummy 0 value */\n";

TEST(Expansion, WritesTheExactBlockAtPc) {
    const translation t = translate("// ORIGIN 0x4000\nADDA(1);\nREGRD16BI(AREG15_0);\n");
    EXPECT_EQ(t.text, "// ORIGIN 0x4000\nADDA(1),\n" + std::string(BLOCK_AT_4002) + "\n");
    EXPECT_EQ(t.pc, 0x4020u);
}

TEST(Expansion, FollowsTheEarlierStatementsAndPrecedesTheRestOfTheLine) {
    const translation t =
        translate("// ORIGIN 0x4000\n  ADDA(1); REGRD16BI( AREG15_0 ) ;  ADDREGS; // tail\n");
    EXPECT_EQ(t.text,
              "// ORIGIN 0x4000\n  ADDA(1)," + std::string(BLOCK_AT_4002) + "  ADDREGS, // tail\n");
    EXPECT_EQ(t.pc, 0x4021u);
}

// Each case names lines that must appear in the output, in this order.
TEST(Expansion, AddressesOperandsAndCounterparts) {
    const struct {
        const char* what;
        const char* source;
        std::vector<std::string> lines;
        uint32_t pc;
    } cases[] = {
        {"P+29 carries into the next byte; the WRREG8 operand is its low byte",
         "// ORIGIN F0\nREGWR8BI(AREG23_16);\n",
         {"// REGWR8BI(AREG23_16) expansion",
          "LDADDR(0x00010D),           // Fill in WRREG8(AREG23_16, 0) second parameter",
          "WRREG8(BREG7_0, 0x0D),", "LDADDR(0x000109),           // Fill in LDADDR(0) parameter",
          "WRREG8(BREG15_8, 0x09),", "WRREG8(AREG23_16, 0),\t/* <- dummy 0 value */"},
         0x10E},
        {"two blocks in a row lie 30 apart",
         "// ORIGIN 4002\nREGRD8BI(AREG7_0);REGWR16BI(AREG31_16);\n",
         {"LDADDR(0x00401F),           // Fill in RDREG8(AREG7_0, 0) second parameter",
          "RDREG8(AREG7_0, 0),\t/* <- dummy 0 value */", "// REGWR16BI(AREG31_16) expansion",
          "LDADDR(0x00403D),           // Fill in WRREG16(AREG31_16, 0) second parameter",
          "WRREG8(BREG7_0, 0x3D),", "LDADDR(0x00403B),", "WRREG8(BREG31_24, 0x3B),",
          "WRREG16(AREG31_16, 0),\t/* <- dummy 0 value */"},
         0x403E},
        {"the 32-bit forms, bare and with an empty pair, name all of A",
         "// ORIGIN 0\nREGWR32BI;\nREGRD32BI( );\n",
         {"// REGWR32BI(AREG31_0) expansion", "WRREG32(AREG31_0, 0),\t/* <- dummy 0 value */",
          "// REGRD32BI(AREG31_0) expansion",
          "LDADDR(0x00003B),           // Fill in RDREG32(AREG31_0, 0) second parameter",
          "RDREG32(AREG31_0, 0),\t/* <- dummy 0 value */"},
         60},
        {"addresses wrap past 0xFFFFFFFF",
         "// ORIGIN FFFFFFF0\nREGRD8BI(AREG31_24);\n",
         {"LDADDR(0x00000D),           // Fill in RDREG8(AREG31_24, 0) second parameter",
          "WRREG8(BREG7_0, 0x0D),", "LDADDR(0x000009),           // Fill in LDADDR(0) parameter",
          "LDADDR(0x00000B),", "WRREG8(BREG31_24, 0x0B),"},
         0xE},
        {"addresses of more than six digits are printed in full",
         "// ORIGIN 12345678\nREGWR8BI(AREG15_8);\n",
         {"LDADDR(0x12345695),           // Fill in WRREG8(AREG15_8, 0) second parameter",
          "WRREG8(BREG7_0, 0x95),", "LDADDR(0x12345692),", "WRREG8(BREG23_16, 0x92),"},
         0x12345696},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const translation t = translate(c.source);
        EXPECT_EQ(t.result, READ_OK);
        EXPECT_EQ(t.diagnostics, "");
        EXPECT_EQ(t.pc, c.pc);
        size_t from = 0;
        for (const std::string& line : c.lines) {
            const size_t at = t.text.find("\n" + line + "\n", from);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << "\nin:\n"
                                             << t.text;
            from = at + 1;
        }
    }
}

} // namespace
