// Runs the built program over the fuzz corpus and over seeded generated sources
// and checks what must hold for every input: a header exists exactly when the
// run succeeds, its frame and code size are right, no source line is lost, and
// diagnostics name real lines in increasing order, one at most per line.
#include "inst_table.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct run_result {
    int status;
    bool header_exists;
    std::string header, out, err;
};

// Converts `source` as prog.ep in the current directory, over a stale prog.h.
run_result run_program(const std::string& source) {
    std::ofstream("prog.ep", std::ios::binary) << source;
    std::ofstream("prog.h") << "stale\n";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const char* bin = std::getenv("ZOLVEK_BIN");
    char* argv[] = {const_cast<char*>("Zolvek"), const_cast<char*>("prog.ep"), nullptr};
    pid_t pid = 0;
    run_result r{};
    EXPECT_EQ(posix_spawn(&pid, bin, &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    int wait_status = 0;
    waitpid(pid, &wait_status, 0);
    r.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
    r.header_exists = fs::exists("prog.h");
    r.header = r.header_exists ? read_file("prog.h") : "";
    r.out = read_file("stdout");
    r.err = read_file("stderr");
    return r;
}

// Complete lines as the program sees them: CRs dropped, a last line without LF
// left out, nothing after the line holding END.
std::vector<std::string> source_lines(const std::string& source) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : source) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    return lines;
}

size_t first_non_blank(const std::string& s) {
    return s.find_first_not_of(" \t");
}

unsigned instruction_size(const std::string& statement) {
    const size_t start = first_non_blank(statement);
    const std::string mnemonic =
        statement.substr(start, statement.find_first_of(" \t(", start) - start);
    for (const inst_def& entry : INST) {
        if (mnemonic == entry.name) {
            return entry.size;
        }
    }
    ADD_FAILURE() << "accepted statement with unknown mnemonic: " << statement;
    return 0;
}

// Checks a successful run against the source line by line: every non-blank line
// up to END is found in the header in order (the whole comment line in the
// header part, else the line's comment or its first mnemonic), and the code size
// is the sum of the sizes of the statements.
void check_success(const std::string& source, const run_result& r) {
    ASSERT_EQ(r.header.rfind("const uint8_t prog[] = {\n", 0), 0u);
    unsigned code_size = 0;
    bool statements = false;
    size_t at = 0;
    for (const std::string& line : source_lines(source)) {
        const size_t start = first_non_blank(line);
        if (start == std::string::npos) {
            continue;
        }
        const bool is_comment = line.compare(start, 2, "//") == 0;
        statements = statements || !is_comment;
        const size_t comment = statements ? line.find("//") : 0;
        const std::string code = line.substr(0, comment);
        std::string mark = comment != std::string::npos ? line.substr(comment) : "";
        bool end = false;
        for (size_t from = 0, semi; (semi = code.find(';', from)) != std::string::npos;
             from = semi + 1) {
            const std::string statement = code.substr(from, semi - from);
            code_size += instruction_size(statement);
            if (mark.empty()) {
                const size_t s = first_non_blank(statement);
                mark = statement.substr(s, statement.find_first_of(" \t(", s) - s);
            }
            end = end || statement.substr(first_non_blank(statement), 3) == "END";
        }
        at = r.header.find(mark, at);
        ASSERT_NE(at, std::string::npos) << "line lost: " << line;
        at += mark.size();
        if (end) {
            break;
        }
    }
    const std::string tail = "};\n\n// Code Size:  " + std::to_string(code_size) + " bytes\n";
    EXPECT_EQ(r.header.substr(r.header.size() - std::min(r.header.size(), tail.size())), tail);
    EXPECT_NE(r.out.find("\nCode Size:  " + std::to_string(code_size) + " bytes\n"),
              std::string::npos);
}

void check_diagnostics(const std::string& source, const std::string& err) {
    const size_t line_count = std::count(source.begin(), source.end(), '\n') + 1;
    std::istringstream messages(err);
    unsigned previous = 0;
    for (std::string message; std::getline(messages, message);) {
        if (message.empty()) {
            continue;
        }
        unsigned line = 0;
        ASSERT_EQ(std::sscanf(message.c_str(), "Zolvek: line %u: ", &line), 1) << message;
        EXPECT_GT(line, previous) << message;
        EXPECT_LE(line, line_count) << message;
        previous = line;
    }
}

void check_invariants(const std::string& source) {
    const run_result r = run_program(source);
    ASSERT_TRUE(r.status == 0 || r.status == 1) << "status " << r.status;
    EXPECT_EQ(r.header_exists, r.status == 0);
    if (r.status == 0) {
        check_success(source, r);
    }
    check_diagnostics(source, r.err);
}

// Realistic lines, mostly valid, with the faults and odd bytes users produce.
std::string generate_source(std::mt19937& rng) {
    auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
    std::string s;
    if (pick(10) != 0) {
        s += pick(2) ? "// Generated\n" : "\n";
        s += "// ORIGIN 0x" + std::to_string(pick(100000)) + "\n";
    }
    const size_t lines = 1 + pick(40);
    for (size_t i = 0; i < lines; ++i) {
        switch (pick(160)) {
        case 0:
            s += "bogus;";
            break;
        case 1:
            s += "LDADDR(1)";
            break;
        case 2:
            s += "WRREG8(AREG7_0);";
            break;
        case 3:
            s += "LDADDR(1;";
            break;
        case 4:
            s += std::string("AD\0DA(1);", 9);
            break;
        case 5:
            s += "// ORIGIN zz";
            break;
        case 6:
            s += "//" + std::string(1000 + pick(40), 'x');
            break;
        case 7:
            s += pick(4) ? "\t" : "END;";
            break;
        default:
            for (size_t n = 1 + pick(3); n > 0; --n) {
                const inst_def& e = INST[pick(INST_COUNT)];
                std::string param = e.params ? e.params[0] : "0x10";
                s += std::string(pick(2), ' ') + e.name;
                if (e.nparams == 1) {
                    s += "(" + param + ")";
                } else if (e.nparams == 2) {
                    s += "(" + param + ", 1)";
                } else if (pick(2)) {
                    s += "( )";
                }
                s += ";";
            }
            if (pick(3) == 0) {
                s += "  // note; (x)";
            }
        }
        s += pick(5) ? "\n" : "\r\n";
    }
    return s;
}

class Invariants : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("ZOLVEK_BIN"), nullptr);
        dir_ = fs::temp_directory_path() / ("zolvek-property-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    fs::path dir_, previous_;
};

TEST_F(Invariants, HoldOverTheFuzzCorpus) {
    const char* corpus = std::getenv("ZOLVEK_CORPUS");
    ASSERT_NE(corpus, nullptr);
    for (const auto& entry : fs::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().string());
        check_invariants(read_file(entry.path()));
    }
}

TEST_F(Invariants, HoldOverGeneratedSources) {
    std::mt19937 rng(20261206);
    for (int i = 0; i < 2000 && !HasFailure(); ++i) {
        const std::string source = generate_source(rng);
        SCOPED_TRACE("generated source " + std::to_string(i) + ":\n" + source);
        check_invariants(source);
    }
}

} // namespace
