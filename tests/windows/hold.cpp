// Holds a file open the way a C runtime reader does (sharing reading and writing,
// not deletion) until standard input ends: hold FILE
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    HANDLE file = argc == 2 ? CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr)
                            : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    std::puts("holding");
    std::fflush(stdout);
    std::getchar();
    return 0;
}
