#include "platform.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef NAME_MAX
#define NAME_MAX 255
#endif

namespace {

char header_path[PATH_CAPACITY]; // the name the header is written under
char target_path[PATH_CAPACITY]; // the file that name resolves to, which is replaced
char temp_path[PATH_CAPACITY];   // its temporary file, or "" when written directly
// What a signal handler must delete; set only while the output stage runs.
volatile sig_atomic_t delete_on_signal = 0;

// Signals whose default action ends the process (and that can be caught), so a
// conversion they stop must clean up first.
const int FATAL_SIGNALS[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT,   SIGBUS,  SIGFPE, SIGUSR1,
    SIGSEGV,   SIGUSR2, SIGALRM, SIGTERM, SIGXCPU, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGPOLL
    SIGPOLL,
#endif
};

extern "C" void delete_output_and_end(int signal_number) {
    if (delete_on_signal != 0) {
        unlink(temp_path); // async-signal-safe, unlike remove()
        unlink(header_path);
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
    action.sa_handler = delete_output_and_end;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
}

void catch_fatal_signals() {
    for (int signal_number : FATAL_SIGNALS) {
        catch_signal(signal_number);
    }
#ifdef SIGRTMIN
    for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number) {
        catch_signal(signal_number);
    }
#endif
}

bool same_identity(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A device or FIFO is written as it is; nothing of it is ever deleted.
FILE* open_direct(FILE* input, const char* path, output_refusal* refusal) {
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    struct stat output_info;
    struct stat input_info;
    if (fd >= 0 && fstat(fd, &output_info) == 0 && fstat(fileno(input), &input_info) == 0 &&
        same_identity(output_info, input_info)) {
        *refusal = OUTPUT_IS_INPUT;
        close(fd);
        return nullptr;
    }
    FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (out == nullptr && fd >= 0) {
        close(fd);
    }
    return out;
}

// Puts in target_path the file that path names: path itself, or where its chain
// of links ends, an existing file or the missing one a dangling link asks for.
// False when that fails; errno says why (ELOOP for a loop, ENAMETOOLONG).
bool find_target(const char* path) {
    std::strcpy(target_path, path); // no longer than header_path
    for (int links = 0; links < 40; ++links) {
        struct stat info;
        if (lstat(target_path, &info) != 0) {
            return errno == ENOENT;
        }
        if (!S_ISLNK(info.st_mode)) {
            return true;
        }
        char link[PATH_CAPACITY];
        const ssize_t length = readlink(target_path, link, sizeof link - 1);
        if (length < 0) {
            return false;
        }
        link[length] = '\0';
        // A relative link is read from its own directory.
        const char* slash = std::strrchr(target_path, '/');
        const int dir_length =
            link[0] == '/' || slash == nullptr ? 0 : static_cast<int>(slash - target_path + 1);
        char next[PATH_CAPACITY];
        const int next_length =
            std::snprintf(next, sizeof next, "%.*s%s", dir_length, target_path, link);
        if (next_length < 0 || static_cast<size_t>(next_length) >= sizeof next) {
            errno = ENAMETOOLONG;
            return false;
        }
        std::strcpy(target_path, next);
    }
    errno = ELOOP;
    return false;
}

// The temporary file lies in the target's directory, and its name says whose it
// is: ".prog.h.zolvek-XXXXXX", or ".zolvek-XXXXXX" where that would exceed the
// system's limit on one name. False when even that does not fit a path.
bool make_temp_path() {
    const char* slash = std::strrchr(target_path, '/');
    const int dir_length = slash != nullptr ? static_cast<int>(slash - target_path + 1) : 0;
    const char* name = target_path + dir_length;
    const int length = std::strlen(name) + 15 <= NAME_MAX
                           ? std::snprintf(temp_path, sizeof temp_path, "%.*s.%s.zolvek-XXXXXX",
                                           dir_length, target_path, name)
                           : std::snprintf(temp_path, sizeof temp_path, "%.*s.zolvek-XXXXXX",
                                           dir_length, target_path);
    return length > 0 && static_cast<size_t>(length) < sizeof temp_path;
}

// The new header gets the old one's owner, group and permissions, or those a
// new file would get. A user other than root cannot give a file away: the new
// header is then theirs, as a header they wrote anew would be.
void set_header_owner_and_mode(int fd, const struct stat* existing) {
    mode_t mode = 0666;
    if (existing != nullptr) {
        if (fchown(fd, existing->st_uid, existing->st_gid) != 0) {
            // not permitted: keep the writer's own
        }
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    fchmod(fd, mode);
}

} // namespace

void guard_standard_streams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF && open("/dev/null", O_RDWR) != fd) {
            _exit(1); // nowhere safe to write; no file has been touched
        }
    }
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
}

char** utf8_arguments(int*, char** argv, int* invalid) {
    *invalid = 0;
    return argv; // file names are bytes here, passed on unchanged
}

FILE* open_input(const char* path) {
    return std::fopen(path, "r");
}

bool is_directory(FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_same_file(FILE* file, const char* path) {
    struct stat open_info;
    struct stat path_info;
    return fstat(fileno(file), &open_info) == 0 && stat(path, &path_info) == 0 &&
           same_identity(open_info, path_info);
}

FILE* begin_output(FILE* input, const char* path, output_refusal* refusal) {
    *refusal = OUTPUT_UNAVAILABLE;
    temp_path[0] = '\0';
    if (std::strlen(path) >= sizeof header_path) {
        *refusal = OUTPUT_NAME_TOO_LONG;
        return nullptr;
    }
    std::strcpy(header_path, path);
    struct stat existing;
    const bool exists = stat(path, &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        errno = EISDIR;
        return nullptr;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return open_direct(input, path, refusal);
    }
    // A header the user may not write is refused, as opening it would be.
    if ((exists && access(path, W_OK) != 0) || !find_target(path)) {
        *refusal = errno == ENAMETOOLONG ? OUTPUT_NAME_TOO_LONG : OUTPUT_UNAVAILABLE;
        return nullptr;
    }
    if (!make_temp_path()) {
        *refusal = OUTPUT_NAME_TOO_LONG;
        return nullptr;
    }
    catch_fatal_signals();
    delete_on_signal = 1; // from before the file exists: its name is being made
    const int fd = mkstemp(temp_path);
    FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (out == nullptr) {
        const int reason = errno;
        if (fd >= 0) {
            close(fd);
            unlink(temp_path);
        }
        delete_on_signal = 0;
        *refusal = reason == ENAMETOOLONG ? OUTPUT_NAME_TOO_LONG : OUTPUT_UNAVAILABLE;
        errno = reason;
        return nullptr;
    }
    set_header_owner_and_mode(fd, exists ? &existing : nullptr);
    return out;
}

bool commit_output(FILE* out) {
    const bool write_failed = std::ferror(out) != 0;
    if (std::fclose(out) != 0 || write_failed) {
        return true;
    }
    if (temp_path[0] == '\0') {
        return false;
    }
    // The rename is the moment of success: a signal from here on waits for it,
    // and then ends the run without undoing it.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &previous);
    const bool failed = rename(temp_path, target_path) != 0;
    const int reason = errno;
    if (!failed) {
        delete_on_signal = 0;
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    errno = reason;
    return failed;
}

const char* discard_output(FILE* out) {
    if (out != nullptr) {
        std::fclose(out);
    }
    const char* undeleted = nullptr;
    int reason = 0;
    if (temp_path[0] != '\0') {
        if (unlink(temp_path) != 0 && errno != ENOENT) {
            undeleted = temp_path;
            reason = errno;
        }
        // As after any failure, no header of this name is left for a build to take.
        if (unlink(header_path) != 0 && errno != ENOENT) {
            undeleted = header_path;
            reason = errno;
        }
    }
    delete_on_signal = 0;
    errno = reason;
    return undeleted;
}
