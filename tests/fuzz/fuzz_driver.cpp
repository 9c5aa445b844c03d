// libFuzzer entry for the whole program, run as root. The input chooses options,
// the input name and the header name among what a scratch directory holds (a
// stale header, links to a header, to nothing, to themselves and to the source,
// a device), and gives the source. After each run: status 0 exactly when a
// complete header is under the header's name; a failure before the output stage
// leaves the directory as it was, a later one leaves no header and no temporary
// file and changes nothing else; the device remains; the run's source is kept.
#include "diagnostics.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

int zolvek_main(int argc, char** argv); // the program's main, renamed for this target

namespace {

const char* const OUTPUTS[] = {nullptr,  "prog.h",   "link.h", "dangling.h",  "loop.h", "in.h",
                               "dev.h",  "prog.ep",  "",       "missing/x.h", "made.h", "-",
                               "a\nb.h", "target.h", "prog",   "out.h"};
const char* const INPUTS[] = {"prog.ep", "missing.ep", "prog", "./prog.ep"};

std::string read_file(const char* name) {
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The directory's entries but `skip`: names, and unless names_only, types and
// contents or link targets.
std::string snapshot(const char* skip, bool names_only = false) {
    std::string all;
    DIR* dir = opendir(".");
    for (dirent* entry = readdir(dir); entry != nullptr; entry = readdir(dir)) {
        struct stat info;
        char target[256] = {};
        if (std::strcmp(entry->d_name, skip) == 0 || lstat(entry->d_name, &info) != 0 ||
            (S_ISLNK(info.st_mode) && readlink(entry->d_name, target, sizeof target - 1) < 0)) {
            continue;
        }
        all += std::string(entry->d_name) + '\1';
        if (!names_only) {
            all += std::to_string(info.st_mode) + target +
                   (S_ISREG(info.st_mode) ? read_file(entry->d_name) : "") + '\2';
        }
    }
    closedir(dir);
    return all;
}

void set_up(bool stale, const std::string& source) {
    const char* const made[] = {".h", "missing.h", "failure.txt"};
    for (const char* name : OUTPUTS) {
        unlink(name != nullptr ? name : "unused");
    }
    for (const char* name : made) {
        unlink(name);
    }
    const std::string header = "const uint8_t prog[] = {\nEND\n};\n\n// Code Size:  0 bytes\n";
    for (const char* name : {"prog.ep", "prog", "target.h", stale ? "prog.h" : "target.h"}) {
        const bool is_source = std::strcmp(name, "prog.ep") == 0 || std::strcmp(name, "prog") == 0;
        const std::string& text = is_source ? source : header;
        FILE* file = std::fopen(name, "w");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    if (symlink("target.h", "link.h") != 0 || symlink("made.h", "dangling.h") != 0 ||
        symlink("loop.h", "loop.h") != 0 || symlink("prog.ep", "in.h") != 0 ||
        mknod("dev.h", S_IFCHR | 0666, makedev(1, 3)) != 0) { // the null device
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = false;
    if (size < 3 || size > 4096) {
        return 0;
    }
    if (!started) {
        // A scratch directory of its own under $TMPDIR, which the fuzzer runs in.
        static char scratch[4096];
        const char* temp = std::getenv("TMPDIR");
        std::snprintf(scratch, sizeof scratch, "%s/fuzz_driver.XXXXXX", temp ? temp : "/tmp");
        if (mkdtemp(scratch) == nullptr || chdir(scratch) != 0) {
            std::abort();
        }
        std::freopen("/dev/null", "w", stdout);
        dup2(fileno(std::tmpfile()), STDERR_FILENO); // messages, read back after each run
        started = true;
    }
    const std::string source(reinterpret_cast<const char*>(data + 3), size - 3);
    set_up((data[0] & 1) != 0, source);
    const uint8_t options = data[1];
    const char* output = OUTPUTS[options & 15];
    const char* input = INPUTS[data[2] & 3];
    const char* header = output != nullptr                      ? output
                         : std::strcmp(input, "./prog.ep") == 0 ? ".h"
                         : input[0] == 'm'                      ? "missing.h"
                                                                : "prog.h";
    const std::string before = snapshot("");
    const std::string others_before = snapshot(header);

    // Bits 16..128 of the options add "--diagnostics=gnu", "-n" with a name,
    // "-q", and the file name after the options instead of before.
    const char* argv[12] = {"Zolvek", (options & 128) == 0 ? input : "-q"};
    int argc = 2;
    for (const char* argument : {"-o", output}) {
        argv[argc] = argument;
        argc += output != nullptr ? 1 : 0;
    }
    argv[argc] = "--diagnostics=gnu";
    argc += (options & 16) != 0 ? 1 : 0;
    argv[argc] = "-n";
    argv[argc + 1] = (data[2] & 4) != 0 ? "arr" : "a\x01";
    argc += (options & 32) != 0 ? 2 : 0;
    argv[argc] = (options & 64) != 0 ? "-q" : "--";
    argv[argc + 1] = (options & 128) != 0 ? input : "second.ep";
    argc += (options & 128) != 0 || (data[2] & 8) != 0 ? 2 : 1;

    // The program's signal handlers stand in for the fuzzer's only while it runs;
    // the fuzzer's timer, which the program would take as fatal, is ignored.
    static struct sigaction saved[NSIG];
    for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
        sigaction(signal_number, nullptr, &saved[signal_number]);
    }
    signal(SIGALRM, SIG_IGN); // delivered to any thread, so ignored rather than blocked
    use_gnu_diagnostics(nullptr);
    const int status = zolvek_main(argc, const_cast<char**>(argv));
    for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
        sigaction(signal_number, &saved[signal_number], nullptr);
    }
    std::fflush(stderr);
    char messages[1024] = {};
    const bool read = pread(STDERR_FILENO, messages, sizeof messages - 1, 0) >= 0;
    const bool cleared = ftruncate(STDERR_FILENO, 0) == 0 && lseek(STDERR_FILENO, 0, SEEK_SET) == 0;

    // Line messages (classic or gnu) and read or write errors come from the
    // output stage, the others from before it.
    const bool late =
        std::strstr(messages, "line ") != nullptr || std::strstr(messages, "error") != nullptr;
    const std::string written = read_file(header);
    const bool is_device = std::strcmp(header, "dev.h") == 0;
    struct stat info;
    const bool complete = written.rfind("const uint8_t ", 0) == 0 && written.size() > 7 &&
                          written.compare(written.size() - 7, 7, " bytes\n") == 0;
    const bool promise_kept = (status == 0 && (is_device || complete)) ||
                              (status == 1 && !late && snapshot("") == before) ||
                              (status == 1 && late && (is_device || lstat(header, &info) != 0) &&
                               snapshot(header) == others_before);
    const bool input_kept = input[0] == 'm' || read_file(input) == source;
    if (!promise_kept || !input_kept || !read || !cleared || lstat("dev.h", &info) != 0 ||
        !S_ISCHR(info.st_mode) || snapshot("", true).find(".zolvek-") != std::string::npos) {
        // The fuzzer has standard error; what went wrong stays in the scratch directory.
        FILE* failure = std::fopen("failure.txt", "w");
        std::fprintf(failure, "status %d, header '%s', promise kept %d, input kept %d\n%s", status,
                     header, promise_kept, input_kept, messages);
        std::fclose(failure);
        std::abort();
    }
    return 0;
}
