// Faults at the system calls, preloaded (LD_PRELOAD) for the cases that ask:
// ZOLVEK_INJECT holds "short-writes" (each write past the standard streams is
// first interrupted, then cut to one byte), "zero-writes" (they return 0, errno
// left at EINTR as a successful call may leave it) or
// "undeletable=TEXT" (unlink fails for paths holding TEXT). mkstemp names
// temporary files "...TESTED", so that messages naming them stay the same.
#include <cerrno>
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
    const char* faults = std::getenv("ZOLVEK_INJECT");
    const char* undeletable = faults != nullptr ? std::strstr(faults, "undeletable=") : nullptr;
    if (undeletable != nullptr) {
        undeletable += std::strlen("undeletable=");
        const size_t length = std::strcspn(undeletable, " ");
        for (const char* p = path; *p != '\0'; ++p) {
            if (std::strncmp(p, undeletable, length) == 0) {
                errno = EACCES;
                return -1;
            }
        }
    }
    return next<int (*)(const char*)>("unlink")(path);
}

extern "C" int mkstemp(char* name) {
    std::memcpy(name + std::strlen(name) - 6, "TESTED", 6);
    return open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}
