// Faults at the system calls, preloaded (LD_PRELOAD) for the cases that ask:
// ZOLVEK_INJECT holds "short-writes" (each write past the standard streams is
// first interrupted, then cut to one byte), "zero-writes" (they return 0, errno
// left at EINTR as a successful call may leave it), and for files whose path
// holds TEXT "undeletable=TEXT" (unlink fails), "unrenamable=TEXT" (rename onto
// it fails), "unclosable=TEXT" (fclose fails after closing) or "streamless=TEXT"
// (fdopen fails). mkstemp names temporary files "...TESTED", so that messages
// naming them stay the same.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool injects(const char* fault) {
    const char* faults = std::getenv("ZOLVEK_INJECT");
    return faults != nullptr && std::strstr(faults, fault) != nullptr;
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// True when ZOLVEK_INJECT holds FAULT (ending in '=') followed by a text that
// path holds.
bool fails(const char* fault, const char* path) {
    const char* faults = std::getenv("ZOLVEK_INJECT");
    const char* text = faults != nullptr ? std::strstr(faults, fault) : nullptr;
    if (text == nullptr) {
        return false;
    }
    text += std::strlen(fault);
    const size_t length = std::strcspn(text, " ");
    for (const char* p = path; *p != '\0'; ++p) {
        if (std::strncmp(p, text, length) == 0) {
            return true;
        }
    }
    return false;
}

const char* path_of(int fd) {
    static char link[64];
    static char path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    path[length > 0 ? length : 0] = '\0';
    return path;
}

} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static bool interrupted = false;
    if (fd > 2 && injects("zero-writes")) {
        errno = EINTR;
        return 0;
    }
    if (fd > 2 && injects("short-writes")) {
        interrupted = !interrupted;
        if (interrupted) {
            errno = EINTR;
            return -1;
        }
        size = size < 1 ? size : 1;
    }
    return next<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
}

extern "C" int unlink(const char* path) {
    if (fails("undeletable=", path)) {
        errno = EACCES;
        return -1;
    }
    return next<int (*)(const char*)>("unlink")(path);
}

extern "C" int rename(const char* from, const char* to) {
    if (fails("unrenamable=", to)) {
        errno = EACCES;
        return -1;
    }
    return next<int (*)(const char*, const char*)>("rename")(from, to);
}

extern "C" int fclose(FILE* file) {
    const bool failing = fails("unclosable=", path_of(fileno(file)));
    const int result = next<int (*)(FILE*)>("fclose")(file);
    errno = failing ? EIO : errno;
    return failing ? EOF : result;
}

extern "C" FILE* fdopen(int fd, const char* mode) {
    if (fails("streamless=", path_of(fd))) {
        errno = EMFILE;
        return nullptr;
    }
    return next<FILE* (*)(int, const char*)>("fdopen")(fd, mode);
}

extern "C" int mkstemp(char* name) {
    std::memcpy(name + std::strlen(name) - 6, "TESTED", 6);
    return open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}
