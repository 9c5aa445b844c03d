#include "translate_harness.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

TEST(ScanHex, ReadsLikePercentXButRefusesWhatDoesNotFit) {
    const struct {
        const char* text;
        bool invalid;
        uint32_t value;
    } cases[] = {
        {" 0x4000", false, 0x4000},
        {"2000", false, 0x2000},
        {"ATED here", false, 0xA},
        {" at 10", false, 0xA},
        {"\t0XfF;", false, 0xFF},
        {"000000004000", false, 0x4000},
        {"FFFFFFFF", false, 0xFFFFFFFF},
        {"-1", false, 0xFFFFFFFF},
        {"+10", false, 0x10},
        {"-0x10", false, 0xFFFFFFF0},
        {"0", false, 0},
        {"0x", true, 0},
        {"0xG", true, 0},
        {"-", true, 0},
        {"100000000", true, 0},
        {"S", true, 0},
        {": 4000", true, 0},
        {"   ", true, 0},
        {"", true, 0},
        {"- 1", true, 0},
    };
    for (const auto& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(scan_hex(c.text, &value), c.invalid) << '"' << c.text << '"';
        if (!c.invalid) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

struct translation_case {
    const char* what;
    std::string source;
    std::string text;
    std::string diagnostics;
    read_result result;
    uint32_t origin;
    uint32_t pc;
};

const translation_case CASES[] = {
    {"blank header lines vanish, comments are copied", "\n \t\n  // hi\n// ORIGIN 0x4000\n",
     "  // hi\n// ORIGIN 0x4000\n", "", READ_OK, 0x4000, 0x4000},
    {"the last ORIGIN of the header wins", "// ORIGIN 0x4000\n// ORIGIN 100\n",
     "// ORIGIN 0x4000\n// ORIGIN 100\n", "", READ_OK, 0x100, 0x100},
    {"the scan stops at the first non-digit", "//ORIGIN2000\n// ORIGINATED here\n",
     "//ORIGIN2000\n// ORIGINATED here\n", "", READ_OK, 0xA, 0xA},
    {"ORIGINS is not an address", "// ORIGINS\n", "// ORIGINS\n",
     "Zolvek: line 1: warning: invalid ORIGIN address; treating line as comment\n", READ_OK, 0, 0},
    {"ORIGIN followed by blanks only", "// ORIGIN 0x10\n// ORIGIN  \t\n",
     "// ORIGIN 0x10\n// ORIGIN  \t\n",
     "Zolvek: line 2: warning: invalid ORIGIN address; treating line as comment\n", READ_OK, 0x10,
     0x10},
    {"a bare ORIGIN is a plain comment", "// ORIGIN\n", "// ORIGIN\n", "", READ_OK, 0, 0},
    {"ORIGIN needs no separator and may follow slashes", "///ORIGIN-1\n", "///ORIGIN-1\n", "",
     READ_OK, 0xFFFFFFFF, 0xFFFFFFFF},
    {"every line before a valid ORIGIN is reported", "ADDREGS;\n// c\n  x\n", "// c\n",
     "Zolvek: line 1: expected an ORIGIN directive\n"
     "Zolvek: line 3: expected an ORIGIN directive\n",
     READ_LINES_FAILED, 0, 0},
    {"an invalid ORIGIN leaves the header phase open", "// ORIGIN x\nADDREGS;\n", "// ORIGIN x\n",
     "Zolvek: line 1: warning: invalid ORIGIN address; treating line as comment\n"
     "Zolvek: line 2: expected an ORIGIN directive\n",
     READ_LINES_FAILED, 0, 0},
    {"an ORIGIN after the first statement is an ordinary comment",
     "// ORIGIN 10\nADDREGS;\n// ORIGIN 20\n\t\n", "// ORIGIN 10\nADDREGS,\n// ORIGIN 20\n\t\n", "",
     READ_OK, 0x10, 0x11},
    {"statements are echoed with ',' and keep blanks and comments",
     "// ORIGIN 0\n  LDADDR(0x10);  // start\nLDADDR(1);LDADDR(2);\nEND;\n",
     "// ORIGIN 0\n  LDADDR(0x10),  // start\nLDADDR(1),LDADDR(2),\nEND\n", "", READ_OK, 0, 13},
    {"END with an empty pair, and nothing read after its line",
     "// ORIGIN 0\nEND( ); ADDREGS; // x\nADDREGS;\n", "// ORIGIN 0\nEND( ) ADDREGS, // x\n", "",
     READ_OK, 0, 2},
    {"text around the parameters is echoed unexamined",
     "// ORIGIN 0\nLDADDR (0x10) ;WRREG8( BREG31_24 ,anything ) x;ADDREGS( );\n",
     "// ORIGIN 0\nLDADDR (0x10) ,WRREG8( BREG31_24 ,anything ) x,ADDREGS( ),\n", "", READ_OK, 0,
     7},
    {"whole-word lookup keeps RDREG8 and RDREG8I apart",
     "// ORIGIN 0\nRDREG8I(AREG7_0,1);RDREG8(BREG7_0,2);VALWR32D(1,2);\n",
     "// ORIGIN 0\nRDREG8I(AREG7_0,1),RDREG8(BREG7_0,2),VALWR32D(1,2),\n", "", READ_OK, 0, 18},
    {"';' inside the comment is not a statement end", "// ORIGIN 0\nBCDCONV; // a;b\n",
     "// ORIGIN 0\nBCDCONV, // a;b\n", "", READ_OK, 0, 1},
    {"CR is dropped wherever it stands", "// ORIGIN 0\r\nADD\rREGS;\r\n\r\n",
     "// ORIGIN 0\nADDREGS,\n\n", "", READ_OK, 0, 1},
    {"a last line without LF is dropped", "// ORIGIN 0\nADDREGS;", "// ORIGIN 0\n", "", READ_OK, 0,
     0},
    {"pc wraps in 32 bits", "// ORIGIN FFFFFFFE\nLDADDR(1);\n", "// ORIGIN FFFFFFFE\nLDADDR(1),\n",
     "", READ_OK, 0xFFFFFFFE, 2},
    {"a parameterless form of a parameter instruction quotes the line",
     "// ORIGIN 0\nADDREGS;LDADDR;LDADDR(1);  // c\n", "// ORIGIN 0\nADDREGS,",
     "Zolvek: line 2: invalid statement 'LDADDR;LDADDR(1);  '\n", READ_LINES_FAILED, 0, 1},
    {"an unknown mnemonic quotes the statement without its ';'",
     "// ORIGIN 0\n  ldaddr(1);\n;\n \t;\nRDREG8X(AREG7_0,1);\n", "// ORIGIN 0\n",
     "Zolvek: line 2: invalid statement '  ldaddr(1)'\n"
     "Zolvek: line 3: invalid statement ''\n"
     "Zolvek: line 4: invalid statement ' \t'\n"
     "Zolvek: line 5: invalid statement 'RDREG8X(AREG7_0,1)'\n",
     READ_LINES_FAILED, 0, 0},
    {"a missing ';' quotes from the statement's start", "// ORIGIN 0\n  LDADDR(1) // c\n",
     "// ORIGIN 0\n", "Zolvek: line 2: missing ';' after '  LDADDR(1) '\n", READ_LINES_FAILED, 0,
     0},
    {"')' must stand in the same statement", "// ORIGIN 0\nLDADDR(1;ADDREGS);\n", "// ORIGIN 0\n",
     "Zolvek: line 2: missing ')'\n", READ_LINES_FAILED, 0, 0},
    {"parameter lists that fail",
     "// ORIGIN 0\nLDADDR();\nADDREGS(1);\nWRREG8(AREG7_0);\nWAITEVENT(EP_RTCINT, 1);\n"
     "WRREG8(CREG, 1);\nNIBBLEMULT(AREG3_0 x);\nREGRD32BI(AREG31_0);\nREGWR16BI(AREG15_0, 1);\n"
     "REGRD8BI;\n",
     "// ORIGIN 0\n",
     "Zolvek: line 2: invalid parameters for LDADDR\n"
     "Zolvek: line 3: invalid parameters for ADDREGS\n"
     "Zolvek: line 4: invalid parameters for WRREG8\n"
     "Zolvek: line 5: invalid parameters for WAITEVENT\n"
     "Zolvek: line 6: invalid parameters for WRREG8\n"
     "Zolvek: line 7: invalid parameters for NIBBLEMULT\n"
     "Zolvek: line 8: invalid parameters for REGRD32BI\n"
     "Zolvek: line 9: invalid parameters for REGWR16BI\n"
     "Zolvek: line 10: invalid statement 'REGRD8BI;'\n",
     READ_LINES_FAILED, 0, 0},
    {"a NUL fails its line and reading goes on", "// ORIGIN 0\nADD\0REGS;\nADDREGS;\n"s,
     "// ORIGIN 0\nADDREGS,\n", "Zolvek: line 2: contains a NUL character\n", READ_LINES_FAILED, 0,
     1},
    {"a line of 1023 characters is translated",
     "// ORIGIN 0\n//" + std::string(1021, 'x') + "\r\nADDREGS;\n",
     "// ORIGIN 0\n//" + std::string(1021, 'x') + "\nADDREGS,\n", "", READ_OK, 0, 1},
    {"a line of 1024 characters ends the run at once",
     "// ORIGIN 0\n//" + std::string(1022, 'x') + "\nnot read;\n", "// ORIGIN 0\n",
     "Zolvek: line 2: contains more than 1023 characters\n", READ_LINE_TOO_LONG, 0, 0},
};

void expect_translation(const translation_case& c) {
    SCOPED_TRACE(c.what);
    const translation t = translate(c.source);
    EXPECT_EQ(t.text, c.text);
    EXPECT_EQ(t.diagnostics, c.diagnostics);
    EXPECT_EQ(t.result, c.result);
    EXPECT_EQ(t.origin, c.origin);
    EXPECT_EQ(t.pc, c.pc);
}

TEST(Translator, TranslatesAndReportsEachLine) {
    for (const auto& c : CASES) {
        expect_translation(c);
    }
}

} // namespace
