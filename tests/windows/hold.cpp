// Test helper for Windows.
//   hold FILE: holds FILE open the way a C runtime reader does (sharing reading
//     and writing, not deletion) until standard input ends.
//   hold --surrogate PROGRAM: runs PROGRAM with an argument holding an unpaired
//     surrogate, which no shell can pass, and returns its exit status.
//   hold --short NAME: prints the 8.3 short name the file system gave NAME.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--surrogate") == 0) {
        wchar_t command[1024];
        std::swprintf(command, 1024, L"\"%hs\" -q prog%lc.ep", argv[2],
                      static_cast<wint_t>(0xD800));
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        DWORD status = 2;
        if (CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                           &process) != 0) {
            WaitForSingleObject(process.hProcess, INFINITE);
            GetExitCodeProcess(process.hProcess, &status);
        }
        return static_cast<int>(status);
    }
    if (argc == 3 && std::strcmp(argv[1], "--short") == 0) {
        char name[MAX_PATH];
        const DWORD length = GetShortPathNameA(argv[2], name, MAX_PATH);
        return length == 0 || length >= MAX_PATH || std::puts(name) < 0 ? 1 : 0;
    }
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
