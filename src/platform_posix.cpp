// What the program needs from a POSIX system: the standard streams, file
// identity, and the output stage with its temporary files and signal handling.
#include "platform.h"

#include "output_pool.h"

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

// One file of the output stage.
struct pending_output {
    char path[PATH_CAPACITY];   // the name it is written under
    char target[PATH_CAPACITY]; // the file that name resolves to, which is replaced
    char temp[PATH_CAPACITY];   // its temporary file, or "" when written directly
    // What a signal handler must delete; set only while the file is pending.
    volatile sig_atomic_t delete_on_signal;
    // The complete file is in the target's place, though the run may still fail.
    volatile sig_atomic_t renamed;
    bool in_use; // held by the caller
};

namespace {

pending_output outputs[MAX_PENDING_OUTPUTS];

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

void delete_output_and_end(int signal_number) {
    for (pending_output& pending : outputs) {
        if (pending.delete_on_signal != 0) {
            unlink(pending.temp); // async-signal-safe, unlike remove()
            unlink(pending.path);
            if (pending.renamed != 0) {
                unlink(pending.target); // this run's file, which a link led to
            }
        }
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

// Puts in target the file that path names: path itself, or where its chain
// of links ends, an existing file or the missing one a dangling link asks for.
// True when that fails; errno says why (ELOOP for a loop, ENAMETOOLONG).
bool find_target(const char* path, char* target) {
    std::strcpy(target, path); // no longer than PATH_CAPACITY
    for (int links = 0; links < 40; ++links) {
        struct stat info;
        if (lstat(target, &info) != 0) {
            return errno != ENOENT;
        }
        if (!S_ISLNK(info.st_mode)) {
            return false;
        }
        char link[PATH_CAPACITY];
        const ssize_t length = readlink(target, link, sizeof link - 1);
        if (length < 0) {
            return true;
        }
        link[length] = '\0';
        // A relative link is read from its own directory.
        const char* slash = std::strrchr(target, '/');
        const int dir_length =
            link[0] == '/' || slash == nullptr ? 0 : static_cast<int>(slash - target + 1);
        char next[PATH_CAPACITY];
        const int next_length =
            std::snprintf(next, sizeof next, "%.*s%s", dir_length, target, link);
        if (next_length < 0 || static_cast<size_t>(next_length) >= sizeof next) {
            errno = ENAMETOOLONG;
            return true;
        }
        std::strcpy(target, next);
    }
    errno = ELOOP;
    return true;
}

// The temporary file lies in the target's directory, and its name says whose it
// is: ".prog.h.zolvek-XXXXXX", or ".zolvek-XXXXXX" where that would exceed the
// system's limit on one name. True when even that does not fit a path.
bool make_temp_path(pending_output* pending) {
    const char* target = pending->target;
    const char* slash = std::strrchr(target, '/');
    const size_t dir_length = slash != nullptr ? static_cast<size_t>(slash - target + 1) : 0;
    const char* name = target + dir_length;
    const size_t name_length = std::strlen(name);
    const bool named = temp_name_fits(name_length);
    static const char SUFFIX[] = ".zolvek-XXXXXX";
    const size_t length = dir_length + (named ? 1 + name_length : 0) + sizeof SUFFIX;
    if (length > sizeof pending->temp) {
        return true;
    }
    char* at = pending->temp;
    std::memcpy(at, target, dir_length);
    at += dir_length;
    if (named) {
        *at++ = '.';
        std::memcpy(at, name, name_length);
        at += name_length;
    }
    std::memcpy(at, SUFFIX, sizeof SUFFIX);
    return false;
}

// The directory a path's last component lies in, and where that component
// begins. True when the directory cannot be found.
bool identify_directory(const char* path, struct stat* info, const char** name) {
    const char* slash = std::strrchr(path, '/');
    *name = slash != nullptr ? slash + 1 : path;
    char directory[PATH_CAPACITY];
    std::snprintf(directory, sizeof directory, "%.*s",
                  slash != nullptr ? static_cast<int>(slash - path + 1) : 1,
                  slash != nullptr ? path : ".");
    return stat(directory, info) != 0;
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

bool is_name_too_long(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return std::strlen(slash != nullptr ? slash + 1 : path) > NAME_MAX;
}

bool is_reserved_device(const char*) {
    return false;
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

bool is_same_output(const char* first, const char* second) {
    static char first_target[PATH_CAPACITY];
    static char second_target[PATH_CAPACITY];
    if (find_target(first, first_target) || find_target(second, second_target)) {
        return false; // the names are too long or loop: opening them fails anyway
    }
    struct stat first_info;
    struct stat second_info;
    const bool first_exists = stat(first_target, &first_info) == 0;
    const bool second_exists = stat(second_target, &second_info) == 0;
    if (first_exists || second_exists) {
        return first_exists && second_exists && same_identity(first_info, second_info);
    }
    // Neither exists yet: the same name in the same directory.
    const char* first_name = nullptr;
    const char* second_name = nullptr;
    return !identify_directory(first_target, &first_info, &first_name) &&
           !identify_directory(second_target, &second_info, &second_name) &&
           same_identity(first_info, second_info) && std::strcmp(first_name, second_name) == 0;
}

existing_output read_existing_output(const char* path, char* start, size_t size, size_t* length) {
    *length = 0;
    struct stat info;
    const bool found = stat(path, &info) == 0;
    if (found && S_ISDIR(info.st_mode)) {
        return EXISTING_DIRECTORY;
    }
    if (!found || !S_ISREG(info.st_mode) || info.st_size == 0) {
        return EXISTING_NONE;
    }
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return EXISTING_UNREADABLE;
    }
    ssize_t got = 0;
    while (*length < size && (got = read(fd, start + *length, size - *length)) != 0) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        *length += got > 0 ? static_cast<size_t>(got) : 0;
    }
    const int reason = errno;
    close(fd);
    errno = reason;
    return got < 0 ? EXISTING_UNREADABLE : *length == 0 ? EXISTING_NONE : EXISTING_CONTENT;
}

namespace {

// begin_output, with the file or null as the result.
FILE* start_output(pending_output* pending, FILE* input, const char* path,
                   output_refusal* refusal) {
    *refusal = OUTPUT_UNAVAILABLE;
    pending->temp[0] = '\0';
    pending->renamed = 0;
    if (std::strlen(path) >= sizeof pending->path) {
        *refusal = OUTPUT_NAME_TOO_LONG;
        return nullptr;
    }
    std::strcpy(pending->path, path);
    struct stat existing;
    const bool exists = stat(path, &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        errno = EISDIR;
        return nullptr;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return open_direct(input, path, refusal);
    }
    // A file the user may not write is refused, as opening it would be.
    if ((exists && access(path, W_OK) != 0) || find_target(path, pending->target)) {
        *refusal = errno == ENAMETOOLONG ? OUTPUT_NAME_TOO_LONG : OUTPUT_UNAVAILABLE;
        return nullptr;
    }
    if (make_temp_path(pending)) {
        *refusal = OUTPUT_NAME_TOO_LONG;
        return nullptr;
    }
    catch_fatal_signals();
    pending->delete_on_signal = 1; // from before the file exists: its name is being made
    const int fd = mkstemp(pending->temp);
    FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (out == nullptr) {
        const int reason = errno;
        if (fd >= 0) {
            close(fd);
            unlink(pending->temp);
        }
        pending->delete_on_signal = 0;
        *refusal = reason == ENAMETOOLONG ? OUTPUT_NAME_TOO_LONG : OUTPUT_UNAVAILABLE;
        errno = reason;
        return nullptr;
    }
    set_header_owner_and_mode(fd, exists ? &existing : nullptr);
    return out;
}

} // namespace

bool begin_output(FILE* input, const char* path, FILE** file, pending_output** pending,
                  output_refusal* refusal) {
    return begin_from_pool(outputs, start_output, input, path, file, pending, refusal);
}

namespace {

sigset_t mask_before_commit;

// Test hook: with ZOLVEK_TEST_COMMIT_FILE naming a file, the commit creates it
// before its last rename (between the header's and the listing's) and goes on
// once it is gone, so that a test can signal the run there without timing it.
void hold_commit_for_test(const pending_output* committing) {
    static bool held = false;
    const char* path = std::getenv("ZOLVEK_TEST_COMMIT_FILE");
    if (held || path == nullptr) {
        return;
    }
    for (const pending_output& other : outputs) {
        if (&other != committing && other.delete_on_signal != 0 && other.renamed == 0) {
            return; // not the last
        }
    }
    held = true;
    close(open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    while (access(path, F_OK) == 0) {
        usleep(10000);
    }
}

} // namespace

void begin_commit() {
    sigset_t all;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &mask_before_commit);
}

void end_commit(bool committed) {
    if (committed) {
        for (pending_output& pending : outputs) {
            pending.delete_on_signal = 0;
            pending.in_use = false;
        }
    }
    const int reason = errno;
    sigprocmask(SIG_SETMASK, &mask_before_commit, nullptr);
    errno = reason;
}

bool commit_output(pending_output* pending, FILE* out) {
    const bool write_failed = std::ferror(out) != 0;
    if (std::fclose(out) != 0 || write_failed) {
        return true;
    }
    if (pending->temp[0] == '\0') {
        return false;
    }
    hold_commit_for_test(pending);
    if (rename(pending->temp, pending->target) != 0) {
        return true;
    }
    pending->renamed = 1;
    return false;
}

bool discard_output(pending_output* pending, FILE* out, undeleted_files* undeleted) {
    if (out != nullptr) {
        std::fclose(out);
    }
    *undeleted = {};
    if (pending->temp[0] != '\0') {
        if (unlink(pending->temp) != 0 && errno != ENOENT) {
            *undeleted = {pending->temp, errno, nullptr, 0};
        }
        // As after any failure, no file of this name is left for a build to take;
        // one that a link leads to and that this run already wrote goes too.
        if (unlink(pending->path) != 0 && errno != ENOENT) {
            undeleted->name = pending->path;
            undeleted->name_reason = errno;
        }
        if (pending->renamed != 0 && unlink(pending->target) != 0 && errno != ENOENT) {
            undeleted->name = pending->target;
            undeleted->name_reason = errno;
        }
    }
    pending->delete_on_signal = 0;
    pending->renamed = 0;
    pending->in_use = false;
    return undeleted->temporary != nullptr || undeleted->name != nullptr;
}
