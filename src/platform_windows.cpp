#include "platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

constexpr size_t PATH_CAPACITY = 32768; // the longest path Windows accepts

char header_path[PATH_CAPACITY]; // the name the header is written under
char temp_path[PATH_CAPACITY];   // its temporary file, or "" when written directly
// The same two as full paths that the 260-character limit does not apply to.
wchar_t header_wide[PATH_CAPACITY];
wchar_t temp_wide[PATH_CAPACITY];
HANDLE temp_handle = INVALID_HANDLE_VALUE;

// The console handler runs on a thread of its own; main and the handler agree
// through this one value on whether the run was interrupted or committed.
enum : LONG { IDLE, WRITING, COMMITTING, INTERRUPTED };
volatile LONG output_state = IDLE;

bool file_identity(HANDLE handle, BY_HANDLE_FILE_INFORMATION* info) {
    return handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, info) != 0;
}

HANDLE stream_handle(FILE* file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

// Marks the open temporary file for deletion when its last handle closes, so
// the system removes it however the process ends (TerminateProcess included).
bool set_delete_on_close(HANDLE handle, bool on) {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = on ? TRUE : FALSE;
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// "\\?\" before a full path lifts the 260-character limit on file names.
bool to_long_path(const char* path, wchar_t* out) {
    static wchar_t wide[PATH_CAPACITY];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, PATH_CAPACITY) == 0) {
        return false;
    }
    if (std::wcsncmp(wide, L"\\\\?\\", 4) == 0) {
        std::wcscpy(out, wide);
        return true;
    }
    const bool unc = std::wcsncmp(wide, L"\\\\", 2) == 0;
    const wchar_t* prefix = unc ? L"\\\\?\\UNC" : L"\\\\?\\";
    const size_t prefix_length = std::wcslen(prefix);
    std::wcscpy(out, prefix);
    const DWORD capacity = static_cast<DWORD>(PATH_CAPACITY - prefix_length);
    const DWORD length = GetFullPathNameW(wide, capacity, out + prefix_length, nullptr);
    if (unc && length > 0) {
        std::wmemmove(out + prefix_length, out + prefix_length + 1, length); // one '\\' of "\\\\"
    }
    return length > 0 && length < capacity;
}

bool delete_header() {
    return DeleteFileW(header_wide) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

// Ctrl-C, Ctrl-Break or closing the console. The temporary file goes with the
// process; a stale header of the name goes too. Returning FALSE lets the default
// handler end the process with the usual status.
BOOL WINAPI delete_output_on_control(DWORD) {
    if (InterlockedCompareExchange(&output_state, INTERRUPTED, WRITING) == WRITING) {
        delete_header();
    }
    return FALSE;
}

FILE* stream_on(HANDLE handle) {
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

// A device (NUL, a console) or a pipe is written as it is and never deleted.
bool is_device(const wchar_t* path) {
    HANDLE handle = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool device = GetFileType(handle) != FILE_TYPE_DISK;
    CloseHandle(handle);
    return device;
}

// ".prog.h.zolvek-XXXXXX" beside the header, created new so that no other file
// is ever opened in its place.
HANDLE create_temp(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    const char* other = std::strrchr(path, '/');
    slash = other != nullptr && (slash == nullptr || other > slash) ? other : slash;
    const int dir_length = slash != nullptr ? static_cast<int>(slash - path + 1) : 0;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const unsigned suffix = (GetCurrentProcessId() * 131u + attempt) & 0xFFFFFFu;
        const int length = std::snprintf(temp_path, sizeof temp_path, "%.*s.%s.zolvek-%06X",
                                         dir_length, path, path + dir_length, suffix);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof temp_path ||
            !to_long_path(temp_path, temp_wide)) {
            break;
        }
        HANDLE handle =
            CreateFileW(temp_wide, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return handle;
        }
    }
    temp_path[0] = '\0';
    return INVALID_HANDLE_VALUE;
}

} // namespace

void guard_standard_streams() {
    FILE* const streams[] = {stdin, stdout, stderr};
    for (FILE* stream : streams) {
        const int fd = _fileno(stream);
        if (fd < 0 || _get_osfhandle(fd) == -1) {
            std::freopen("NUL", stream == stdin ? "r" : "w", stream);
        }
    }
}

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

FILE* begin_output(FILE* input, const char* path, bool* is_input) {
    *is_input = false;
    temp_path[0] = '\0';
    if (std::strlen(path) >= sizeof header_path) {
        return nullptr;
    }
    std::strcpy(header_path, path);
    if (!to_long_path(path, header_wide)) {
        return nullptr;
    }
    const DWORD attributes = GetFileAttributesW(header_wide);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return nullptr; // a read-only header is refused, as opening it would be
    }
    if (is_device(header_wide)) {
        if (is_same_file(input, path)) {
            *is_input = true;
            return nullptr;
        }
        HANDLE handle = CreateFileW(header_wide, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return handle != INVALID_HANDLE_VALUE ? stream_on(handle) : nullptr;
    }
    output_state = WRITING;
    SetConsoleCtrlHandler(delete_output_on_control, TRUE);
    temp_handle = create_temp(path);
    if (temp_handle == INVALID_HANDLE_VALUE || !set_delete_on_close(temp_handle, true)) {
        if (temp_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(temp_handle);
            DeleteFileW(temp_wide);
        }
        output_state = IDLE;
        return nullptr;
    }
    return stream_on(temp_handle);
}

bool commit_output(FILE* out) {
    bool failed = std::fflush(out) != 0 || std::ferror(out) != 0;
    if (temp_path[0] == '\0') {
        return std::fclose(out) != 0 || failed;
    }
    // From here the console handler leaves the header alone; if it got here
    // first, the process is ending with Ctrl-C and must not report success.
    if (InterlockedCompareExchange(&output_state, COMMITTING, WRITING) != WRITING) {
        Sleep(INFINITE);
    }
    failed = failed || !set_delete_on_close(temp_handle, false);
    failed = std::fclose(out) != 0 || failed;
    failed = failed || MoveFileExW(temp_wide, header_wide,
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0;
    output_state = failed ? WRITING : IDLE;
    return failed;
}

const char* discard_output(FILE* out) {
    if (out != nullptr) {
        std::fclose(out); // the temporary file is deleted as it closes
    }
    const char* undeleted = nullptr;
    if (temp_path[0] != '\0') {
        if (!DeleteFileW(temp_wide) && GetLastError() != ERROR_FILE_NOT_FOUND) {
            undeleted = temp_path;
        }
        if (!delete_header()) {
            undeleted = header_path;
        }
    }
    output_state = IDLE;
    return undeleted;
}
