#include "translate_harness.h"

#include "state.h"

#include <gtest/gtest.h>

#include <cstdio>

translation translate(const std::string& source) {
    reset_translation_state();
    asname = "Zolvek";
    FILE* in = std::tmpfile();
    std::fwrite(source.data(), 1, source.size(), in);
    std::rewind(in);
    static char line[LINE_BUFFER_SIZE];

    FILE* out = std::tmpfile();
    translation t{};
    testing::internal::CaptureStderr();
    t.result = translate_source(in, out, line);
    t.diagnostics = testing::internal::GetCapturedStderr();
    std::rewind(out);
    for (int c = std::getc(out); c != EOF; c = std::getc(out)) {
        t.text += static_cast<char>(c);
    }
    std::fclose(out);
    t.origin = origin;
    t.pc = pc;
    std::fclose(in);
    return t;
}
