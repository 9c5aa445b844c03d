#include "translate_harness.h"

#include "state.h"

#include <gtest/gtest.h>

translation translate(const std::string& source) {
    reset_translation_state();
    asname = "Zolvek";
    FILE* in = std::tmpfile();
    std::fwrite(source.data(), 1, source.size(), in);
    std::rewind(in);
    static char line[LINE_BUFFER_SIZE];

    translation t{};
    testing::internal::CaptureStderr();
    t.text = written_by([&](FILE* out) { t.result = translate_source(in, out, line); });
    t.diagnostics = testing::internal::GetCapturedStderr();
    t.origin = origin;
    t.pc = pc;
    std::fclose(in);
    return t;
}
