#include "platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>

namespace {

const char* volatile interrupt_path = nullptr;

bool file_identity(HANDLE handle, BY_HANDLE_FILE_INFORMATION* info) {
    return handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, info) != 0;
}

HANDLE stream_handle(FILE* file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

// Runs on a thread of its own when Ctrl-C, Ctrl-Break or closing the console
// stops the program. The output was opened with FILE_SHARE_DELETE, so deleting
// it here takes effect when the process ends and closes it. Returning FALSE
// lets the default handler end the process with the usual status.
BOOL WINAPI remove_output_on_control(DWORD) {
    const char* path = interrupt_path;
    if (path != nullptr) {
        DeleteFileA(path);
    }
    return FALSE;
}

} // namespace

bool is_directory(FILE* file) {
    BY_HANDLE_FILE_INFORMATION info;
    return file_identity(stream_handle(file), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Identity by volume serial number and file index, the Windows counterpart of
// device and inode.
bool is_same_file(FILE* file, const char* path) {
    BY_HANDLE_FILE_INFORMATION open_info;
    if (!file_identity(stream_handle(file), &open_info)) {
        return false;
    }
    HANDLE other = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION path_info;
    const bool same = file_identity(other, &path_info) &&
                      open_info.dwVolumeSerialNumber == path_info.dwVolumeSerialNumber &&
                      open_info.nFileIndexHigh == path_info.nFileIndexHigh &&
                      open_info.nFileIndexLow == path_info.nFileIndexLow;
    if (other != INVALID_HANDLE_VALUE) {
        CloseHandle(other);
    }
    return same;
}

FILE* open_output(const char* path) {
    // As fopen(path, "w") does, but shared for deletion so that an interrupt
    // can remove the file while it is open.
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_TEXT);
    if (fd == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    FILE* file = _fdopen(fd, "w");
    if (file == nullptr) {
        _close(fd);
    }
    return file;
}

void remove_output_on_interrupt(const char* path) {
    interrupt_path = path;
    SetConsoleCtrlHandler(remove_output_on_control, TRUE);
}

void forget_output_on_interrupt() {
    interrupt_path = nullptr;
}
