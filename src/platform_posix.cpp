#include "platform.h"

#include <cstdio>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* volatile interrupt_path = nullptr;

extern "C" void remove_output_and_end(int signal_number) {
    const char* path = interrupt_path;
    if (path != nullptr) {
        unlink(path); // async-signal-safe, unlike remove()
    }
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

void catch_signal(int signal_number) {
    struct sigaction previous;
    if (sigaction(signal_number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
        return; // started under nohup or in the background: keep ignoring it
    }
    struct sigaction action = {};
    action.sa_handler = remove_output_and_end;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
}

} // namespace

bool is_directory(FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_same_file(FILE* file, const char* path) {
    struct stat open_info;
    struct stat path_info;
    return fstat(fileno(file), &open_info) == 0 && stat(path, &path_info) == 0 &&
           open_info.st_dev == path_info.st_dev && open_info.st_ino == path_info.st_ino;
}

FILE* open_output(const char* path) {
    return std::fopen(path, "w");
}

void remove_output_on_interrupt(const char* path) {
    interrupt_path = path;
    catch_signal(SIGINT);
    catch_signal(SIGTERM);
    catch_signal(SIGHUP);
}

void forget_output_on_interrupt() {
    interrupt_path = nullptr;
}
