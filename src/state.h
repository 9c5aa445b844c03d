// Translation state shared by the driver, the translator and the expansion.
// One run converts one file, so these live for the whole process.
#pragma once

#include <cstdint>

extern uint32_t linenum;     // number of the line being translated, for messages
extern const char* asname;   // the name the program was invoked by, prefix of every diagnostic
extern bool org_found;       // a valid ORIGIN address has been read
extern bool stmt_found;      // the first statement line has been reached
extern bool end_stmt_found;  // the END statement has been processed
extern uint32_t origin;      // the ORIGIN address
extern uint32_t origin_line; // the line that set origin, for a warning when another replaces it
extern uint32_t pc;          // address of the next instruction byte
// With --line-directives the source's name as given, which #line directives in
// the header name; else null.
extern const char* line_directive_name;

// Puts every variable back to its start value, so that one process can convert
// several sources (the tests do).
void reset_translation_state();
