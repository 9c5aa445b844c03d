#include "state.h"

uint32_t linenum = 1;
const char* asname = "Zolvek"; // replaced by argv[0] when the system passes one
bool org_found = false;
bool stmt_found = false;
bool end_stmt_found = false;
uint32_t origin = 0;
uint32_t origin_line = 0;
uint32_t pc = 0;
const char* line_directive_name = nullptr;

void reset_translation_state() {
    linenum = 1;
    org_found = false;
    stmt_found = false;
    end_stmt_found = false;
    origin = 0;
    origin_line = 0;
    pc = 0;
}
