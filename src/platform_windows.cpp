// What the program needs from Windows: Unicode arguments, file identity, and
// the output stage with its temporary files, deletion marks and console
// handler.
#include "platform.h"

#include "output_pool.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

// One file of the output stage.
struct pending_output {
    char path[PATH_CAPACITY];      // the name it is written under
    char temp_path[PATH_CAPACITY]; // its temporary file, or "" when written directly
    // The same two as full paths, which the 260-character limit does not apply to.
    wchar_t path_wide[PATH_CAPACITY];
    wchar_t temp_wide[PATH_CAPACITY];
    // Where a name that is a link leads, which is replaced in its place; "" when
    // the name is no link.
    wchar_t target_wide[PATH_CAPACITY];
    HANDLE temp_handle;
    HANDLE old_file;      // the earlier file of this name, marked for deletion
    volatile LONG active; // written to a temporary file, neither committed nor discarded
    bool renamed;         // the complete file is in place, though the run may still fail
    bool in_use;          // held by the caller
};

namespace {

pending_output outputs[MAX_PENDING_OUTPUTS];

// The console handler runs on a thread of its own; main and the handler agree
// through this one value on whether the run was interrupted or committed.
enum : LONG { IDLE, WRITING, COMMITTING, INTERRUPTED };
volatile LONG output_state = IDLE;

// A file's identity: the volume's serial number and the 128-bit file ID where the
// file system gives one (ReFS reuses 64-bit indexes), else the 64-bit index.
struct file_id {
    ULONGLONG volume;
    BYTE id[16];
};

// True when the system gives no identity.
bool identify(HANDLE handle, file_id* result) {
    std::memset(result, 0, sizeof *result);
    FILE_ID_INFO info;
    if (GetFileInformationByHandleEx(handle, FileIdInfo, &info, sizeof info) != 0) {
        result->volume = info.VolumeSerialNumber;
        std::memcpy(result->id, &info.FileId, sizeof result->id);
        return false;
    }
    BY_HANDLE_FILE_INFORMATION old_info;
    if (GetFileInformationByHandle(handle, &old_info) == 0) {
        return true;
    }
    result->volume = old_info.dwVolumeSerialNumber;
    std::memcpy(result->id, &old_info.nFileIndexLow, sizeof old_info.nFileIndexLow);
    std::memcpy(result->id + 4, &old_info.nFileIndexHigh, sizeof old_info.nFileIndexHigh);
    return false;
}

HANDLE stream_handle(FILE* file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

// Marks an open file for deletion when its last handle closes, so the system
// removes it however the process ends (TerminateProcess included). True when
// the system refused.
bool set_delete_on_close(HANDLE handle, bool on) {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = on ? TRUE : FALSE;
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                      sizeof disposition) == 0;
}

// Sets errno to the closest C reason for the system's last error, so that the
// driver reports every failure one way.
void set_errno_from_last_error() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_TOO_MANY_OPEN_FILES:
        errno = EMFILE;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        errno = ENAMETOOLONG;
        break;
    case ERROR_CANT_RESOLVE_FILENAME: // links that lead round in a loop
        errno = EMLINK;
        break;
    default:
        errno = EIO;
    }
}

bool starts_with(const wchar_t* text, const wchar_t* prefix) {
    return std::wcsncmp(text, prefix, std::wcslen(prefix)) == 0;
}

// A UTF-8 name as a full path after "\\?\", which lifts the 260-character limit;
// devices ("\\.\NUL") and names already in that form stay as they are. True
// when the name is no valid UTF-8 or too long.
bool to_long_path(const char* path, wchar_t* out) {
    static wchar_t wide[PATH_CAPACITY];
    static wchar_t full[PATH_CAPACITY];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, PATH_CAPACITY) == 0) {
        return true;
    }
    const DWORD length = starts_with(wide, L"\\\\?\\") || starts_with(wide, L"\\\\.\\")
                             ? 0
                             : GetFullPathNameW(wide, PATH_CAPACITY, full, nullptr);
    if (length == 0 || starts_with(full, L"\\\\.\\")) {
        std::wcscpy(out, length == 0 ? wide : full);
        return false;
    }
    const bool unc = starts_with(full, L"\\\\");
    return length >= PATH_CAPACITY - 8 ||
           std::swprintf(out, PATH_CAPACITY, L"%ls%ls", unc ? L"\\\\?\\UNC" : L"\\\\?\\",
                         full + (unc ? 1 : 0)) <= 0;
}

// Opens an existing file or directory (a link itself with
// FILE_FLAG_OPEN_REPARSE_POINT), sharing everything, so that the handle stands
// in no other program's way.
HANDLE open_existing(const wchar_t* path, DWORD access, DWORD flags = 0) {
    return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

bool is_reparse_point(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO info;
    return GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info) != 0 &&
           (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The path the system gives what path opens, links followed. True when it
// gives none (GetLastError says why).
bool final_path(const wchar_t* path, wchar_t* out) {
    HANDLE handle = open_existing(path, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        return true;
    }
    const DWORD length = GetFinalPathNameByHandleW(handle, out, PATH_CAPACITY, 0);
    const DWORD error = GetLastError();
    CloseHandle(handle);
    SetLastError(error);
    return length == 0 || length >= PATH_CAPACITY;
}

// The name as its directory holds it: the directory's final path followed by
// the entry's own name, in its stored letter case and long form (a short 8.3
// name or another spelling of the case resolves to it). True when the entry
// cannot be read, or the name is a pattern that could match another entry.
bool stored_path(const wchar_t* path, wchar_t* out) {
    const wchar_t* name = std::wcsrchr(path, L'\\') + 1;
    WIN32_FIND_DATAW entry;
    HANDLE found =
        std::wcspbrk(name, L"*?") != nullptr ? INVALID_HANDLE_VALUE : FindFirstFileW(path, &entry);
    if (found == INVALID_HANDLE_VALUE) {
        return true;
    }
    FindClose(found);
    // The directory keeps its closing backslash, so that a drive's root stays
    // the root ("\\?\Y:" alone would be the volume).
    static wchar_t directory[PATH_CAPACITY];
    const size_t dir_length = static_cast<size_t>(name - path);
    std::wmemcpy(directory, path, dir_length);
    directory[dir_length] = L'\0';
    if (final_path(directory, out)) {
        return true;
    }
    const size_t length = std::wcslen(out);
    const wchar_t* separator = length > 0 && out[length - 1] == L'\\' ? L"" : L"\\";
    const int written =
        std::swprintf(out + length, PATH_CAPACITY - length, L"%ls%ls", separator, entry.cFileName);
    return written <= 0;
}

// What an existing output name is to the output stage.
enum name_kind {
    NAME_FILE,    // a file, or nothing yet
    NAME_LINK,    // a link: target_wide holds where it leads
    NAME_REFUSED, // a link that loops, or whose target cannot be reached or created; errno says why
};

// Decides whether the existing name is a link, and where it leads. It is no link
// only when it opens as no reparse point and the final path of what opens is the
// name as its directory holds it, letter case included: Wine shows a link as the
// file it leads to, and in a case-sensitive directory "prog.h" may lead to
// "PROG.H" beside it. A link whose target is missing gets that file created, as
// the link asks, marked for deletion in *created until the commit.
name_kind find_link_target(pending_output* pending, HANDLE* created) {
    const wchar_t* path = pending->path_wide;
    pending->target_wide[0] = L'\0';
    *created = INVALID_HANDLE_VALUE;
    HANDLE handle = open_existing(path, 0, FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE) {
        // Wine shows a loop only as this error, and a dangling link not at all.
        const bool loop = GetLastError() == ERROR_CANT_RESOLVE_FILENAME;
        if (loop) {
            set_errno_from_last_error();
        }
        return loop ? NAME_REFUSED : NAME_FILE;
    }
    const bool reparse = is_reparse_point(handle);
    CloseHandle(handle);
    static wchar_t stored[PATH_CAPACITY];
    wchar_t* target = pending->target_wide;
    if (!final_path(path, target)) {
        const bool plain =
            !reparse && !stored_path(path, stored) && std::wcscmp(target, stored) == 0;
        if (plain) {
            target[0] = L'\0';
        }
        return plain ? NAME_FILE : NAME_LINK;
    }
    const DWORD error = GetLastError();
    target[0] = L'\0';
    if (!reparse) {
        // A file whose final path the system cannot give (a RAM disk, a drive
        // defined for this session): no link ever shows that way.
        return NAME_FILE;
    }
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        set_errno_from_last_error(); // a loop, or a target that cannot be reached
        return NAME_REFUSED;
    }
    *created = CreateFileW(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD length = *created == INVALID_HANDLE_VALUE
                             ? 0
                             : GetFinalPathNameByHandleW(*created, target, PATH_CAPACITY, 0);
    if (length == 0 || length >= PATH_CAPACITY || set_delete_on_close(*created, true)) {
        set_errno_from_last_error();
        if (*created != INVALID_HANDLE_VALUE) {
            CloseHandle(*created);
            *created = INVALID_HANDLE_VALUE;
        }
        target[0] = L'\0';
        return NAME_REFUSED;
    }
    return NAME_LINK;
}

// Removes the name. A link goes only where the system lets it go alone
// (a reparse point opened as itself); else it stays, since deleting it would
// delete the file it leads to. True when the name remains.
bool delete_name(const pending_output* pending) {
    if (pending->target_wide[0] == L'\0') {
        return DeleteFileW(pending->path_wide) == 0 && GetLastError() != ERROR_FILE_NOT_FOUND &&
               GetLastError() != ERROR_PATH_NOT_FOUND;
    }
    HANDLE link = open_existing(pending->path_wide, DELETE, FILE_FLAG_OPEN_REPARSE_POINT);
    if (link == INVALID_HANDLE_VALUE) {
        return GetLastError() != ERROR_FILE_NOT_FOUND;
    }
    const bool remains = !is_reparse_point(link) || set_delete_on_close(link, true);
    CloseHandle(link);
    if (remains) {
        SetLastError(ERROR_ACCESS_DENIED);
    }
    return remains;
}

void release_old_file(pending_output* pending) {
    if (pending->old_file != INVALID_HANDLE_VALUE) {
        CloseHandle(pending->old_file);
        pending->old_file = INVALID_HANDLE_VALUE;
    }
}

// The state once one output is done with: still writing while the other is.
LONG state_after(const pending_output* done) {
    for (const pending_output& pending : outputs) {
        if (&pending != done && pending.active != 0) {
            return WRITING;
        }
    }
    return IDLE;
}

// Ctrl-C, Ctrl-Break or closing the console. Before the commit, the temporary
// files and the earlier files go with the process; once the commit has begun,
// it is completed first and not undone (a commit that failed is a failure).
// Returning FALSE lets the default handler end the process with the usual status.
BOOL WINAPI delete_output_on_control(DWORD) {
    while (output_state == COMMITTING) {
        Sleep(1);
    }
    if (InterlockedCompareExchange(&output_state, INTERRUPTED, WRITING) == WRITING) {
        for (const pending_output& pending : outputs) {
            if (pending.active != 0) {
                delete_name(&pending);
                DeleteFileW(pending.temp_wide); // unmarked if a failed commit unmarked it
            }
        }
    }
    return FALSE;
}

// Test hook: with ZOLVEK_TEST_COMMIT_FILE naming a file, the commit creates it
// before its last replacement (between the header's and the listing's) and goes
// on when it is gone, so that a test can act inside the commit without timing it.
void hold_commit_for_test(const pending_output* committing) {
    static bool held = false;
    static wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ZOLVEK_TEST_COMMIT_FILE", path, MAX_PATH);
    if (held || length == 0 || length >= MAX_PATH) {
        return;
    }
    for (const pending_output& other : outputs) {
        if (&other != committing && other.active != 0 && !other.renamed) {
            return; // not the last
        }
    }
    held = true;
    CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    while (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
        Sleep(10);
    }
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

// The reserved device a name stands for in any directory, as the system reads
// its last component: what comes before a '.' or ':', trailing spaces dropped,
// in any case. NUL counts as none: it is opened like any name and written
// directly. A name after "\\?\" is taken as it stands: no device.
enum device_name { NO_DEVICE, CONSOLE_DEVICE, OTHER_DEVICE };

device_name reserved_device(const char* path) {
    if (std::strncmp(path, "\\\\?\\", 4) == 0) {
        return NO_DEVICE;
    }
    const char* name = path;
    for (const char* at = path; *at != '\0'; ++at) {
        if (*at == '/' || *at == '\\' || (*at == ':' && at == path + 1)) {
            name = at + 1;
        }
    }
    size_t length = std::strcspn(name, ".:");
    while (length > 0 && name[length - 1] == ' ') {
        --length;
    }
    if (length == 3) {
        return _strnicmp(name, "CON", 3) == 0                                     ? CONSOLE_DEVICE
               : _strnicmp(name, "AUX", 3) == 0 || _strnicmp(name, "PRN", 3) == 0 ? OTHER_DEVICE
                                                                                  : NO_DEVICE;
    }
    if (length < 4 || (_strnicmp(name, "COM", 3) != 0 && _strnicmp(name, "LPT", 3) != 0)) {
        return NO_DEVICE;
    }
    // A digit from 1, or a superscript 1, 2 or 3 in UTF-8, which the system
    // takes for one.
    const char* number = name + 3;
    const bool digit = length == 4 && number[0] >= '1' && number[0] <= '9';
    const bool superscript = length == 5 && number[0] == '\xC2' &&
                             (number[1] == '\xB9' || number[1] == '\xB2' || number[1] == '\xB3');
    return digit || superscript ? OTHER_DEVICE : NO_DEVICE;
}

// A device (NUL, a console) or a pipe is written as it is and never deleted.
bool is_device(const wchar_t* path) {
    HANDLE handle = open_existing(path, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool device = GetFileType(handle) != FILE_TYPE_DISK;
    CloseHandle(handle);
    return device;
}

// Creates the temporary file beside the file that is replaced (a full path):
// ".prog.h.zolvek-XXXXXX" when named, else ".zolvek-XXXXXX". It is created new,
// so that no other file is ever opened in its place. Its name in UTF-8, without
// the long-path prefix, goes to temp_path for messages.
HANDLE create_temp_as(pending_output* pending, const wchar_t* replaced, bool named) {
    wchar_t* temp_wide = pending->temp_wide;
    char* temp_path = pending->temp_path;
    const wchar_t* name = std::wcsrchr(replaced, L'\\') + 1;
    const int dir_length = static_cast<int>(name - replaced);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const unsigned suffix = (GetCurrentProcessId() * 131u + attempt) & 0xFFFFFFu;
        const int length = named ? std::swprintf(temp_wide, PATH_CAPACITY, L"%.*ls.%ls.zolvek-%06X",
                                                 dir_length, replaced, name, suffix)
                                 : std::swprintf(temp_wide, PATH_CAPACITY, L"%.*ls.zolvek-%06X",
                                                 dir_length, replaced, suffix);
        const wchar_t* shown = starts_with(temp_wide, L"\\\\?\\") ? temp_wide + 4 : temp_wide;
        if (length <= 0 || WideCharToMultiByte(CP_UTF8, 0, shown, -1, temp_path, PATH_CAPACITY,
                                               nullptr, nullptr) == 0) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
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

// True when a name holds a character no Windows file name may hold.
bool has_forbidden_character(const wchar_t* name) {
    for (const wchar_t* c = name; *c != L'\0'; ++c) {
        if (*c < 0x20 || std::wcschr(L"<>:\"|?*", *c) != nullptr) {
            return true;
        }
    }
    return false;
}

// The temporary file named after the file it replaces, or the short name where
// that would exceed the 255 characters of one name or the file system finds it
// too long: Wine's counts UTF-8 bytes, and says "not found" for such a name. A
// name the system refuses for its characters is refused, not tried again.
HANDLE create_temp(pending_output* pending, const wchar_t* replaced) {
    const wchar_t* name = std::wcsrchr(replaced, L'\\') + 1;
    if (temp_name_fits(std::wcslen(name))) {
        HANDLE handle = create_temp_as(pending, replaced, true);
        const DWORD error = GetLastError();
        const bool too_long = error == ERROR_FILENAME_EXCED_RANGE ||
                              error == ERROR_FILE_NOT_FOUND ||
                              (error == ERROR_INVALID_NAME && !has_forbidden_character(name));
        if (handle != INVALID_HANDLE_VALUE || !too_long) {
            return handle;
        }
    }
    return create_temp_as(pending, replaced, false);
}

} // namespace

char** utf8_arguments(int* argc, char** argv, int* invalid) {
    // Taken as UTF-16: the ANSI arguments would turn a name the code page cannot
    // represent into a look-alike ("ｐｒｏｇ.ep" into "prog.ep").
    static char storage[3 * 32768 + 16384];
    static char* arguments[16385];
    *invalid = 0;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || count > 16384) {
        return argv;
    }
    char* next = storage;
    for (int i = 0; i < count; ++i) {
        const int room = static_cast<int>(storage + sizeof storage - next);
        // An unpaired surrogate would become U+FFFD and name another file.
        int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide[i], -1, next, room,
                                         nullptr, nullptr);
        if (length == 0 && GetLastError() == ERROR_NO_UNICODE_TRANSLATION) {
            *invalid = *invalid != 0 ? *invalid : i;
            length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, next, room, nullptr, nullptr);
        }
        if (length == 0) {
            LocalFree(wide);
            return argv;
        }
        arguments[i] = next;
        next += length;
    }
    LocalFree(wide);
    arguments[count] = nullptr;
    *argc = count;
    return arguments;
}

void guard_standard_streams() {
    FILE* const streams[] = {stdin, stdout, stderr};
    for (FILE* stream : streams) {
        const int fd = _fileno(stream);
        if (fd < 0 || _get_osfhandle(fd) == -1) {
            std::freopen("NUL", stream == stdin ? "r" : "w", stream);
        }
    }
}

bool is_name_too_long(const char* path) {
    static wchar_t wide[PATH_CAPACITY];
    if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, PATH_CAPACITY) == 0) {
        return false; // not a name the system takes: opening it fails anyway
    }
    const wchar_t* name = wide;
    for (const wchar_t* c = wide; *c != L'\0'; ++c) {
        name = *c == L'\\' || *c == L'/' ? c + 1 : name;
    }
    return std::wcslen(name) > 255;
}

bool is_reserved_device(const char* path) {
    return reserved_device(path) == OTHER_DEVICE;
}

FILE* open_input(const char* path) {
    static wchar_t wide[PATH_CAPACITY];
    if (is_reserved_device(path)) {
        errno = EACCES; // never opened: a serial port could block the run
        return nullptr;
    }
    return to_long_path(path, wide) ? nullptr : _wfopen(wide, L"r");
}

bool is_directory(FILE* file) {
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(stream_handle(file), &info) != 0 &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A file that exists but cannot be identified might be the input, and is taken
// to be.
bool is_same_file(FILE* file, const char* path) {
    static wchar_t wide[PATH_CAPACITY];
    if (reserved_device(path) != NO_DEVICE || to_long_path(path, wide)) {
        return false;
    }
    HANDLE other = open_existing(wide, 0);
    if (other == INVALID_HANDLE_VALUE) {
        return GetFileAttributesW(wide) != INVALID_FILE_ATTRIBUTES;
    }
    file_id input;
    file_id output;
    const bool same = identify(stream_handle(file), &input) || identify(other, &output) ||
                      std::memcmp(&input, &output, sizeof input) == 0;
    CloseHandle(other);
    return same;
}

bool is_same_output(const char* first, const char* second) {
    static wchar_t first_wide[PATH_CAPACITY];
    static wchar_t second_wide[PATH_CAPACITY];
    if (reserved_device(first) != NO_DEVICE || reserved_device(second) != NO_DEVICE ||
        to_long_path(first, first_wide) || to_long_path(second, second_wide)) {
        return false; // a device, never opened here, or not a name the system takes
    }
    HANDLE handles[2];
    for (int i = 0; i < 2; ++i) {
        handles[i] = open_existing(i == 0 ? first_wide : second_wide, 0);
    }
    file_id ids[2];
    const bool both = handles[0] != INVALID_HANDLE_VALUE && handles[1] != INVALID_HANDLE_VALUE;
    const bool same = both ? !identify(handles[0], &ids[0]) && !identify(handles[1], &ids[1]) &&
                                 std::memcmp(&ids[0], &ids[1], sizeof ids[0]) == 0
                           : handles[0] == handles[1] && _wcsicmp(first_wide, second_wide) == 0;
    for (HANDLE handle : handles) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    return same;
}

existing_output read_existing_output(const char* path, char* start, size_t size, size_t* length) {
    static wchar_t wide[PATH_CAPACITY];
    *length = 0;
    if (reserved_device(path) != NO_DEVICE || to_long_path(path, wide)) {
        return EXISTING_NONE;
    }
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EXISTING_DIRECTORY;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES || is_device(wide)) {
        return EXISTING_NONE;
    }
    HANDLE handle =
        CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD got = 0;
    const bool read = handle != INVALID_HANDLE_VALUE &&
                      ReadFile(handle, start, static_cast<DWORD>(size), &got, nullptr) != 0;
    if (!read) {
        set_errno_from_last_error();
    }
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
    *length = got;
    return !read ? EXISTING_UNREADABLE : got == 0 ? EXISTING_NONE : EXISTING_CONTENT;
}

namespace {

// A device is written as it is, and never replaced or deleted.
FILE* write_directly(const wchar_t* device, DWORD access) {
    HANDLE handle = CreateFileW(device, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        set_errno_from_last_error();
        return nullptr;
    }
    return stream_on(handle);
}

// begin_output, with the file or null as the result.
FILE* start_output(pending_output* pending, FILE* input, const char* path,
                   output_refusal* refusal) {
    *refusal = OUTPUT_UNAVAILABLE;
    pending->temp_path[0] = '\0';
    pending->temp_handle = INVALID_HANDLE_VALUE;
    pending->old_file = INVALID_HANDLE_VALUE;
    pending->renamed = false;
    if (std::strlen(path) >= sizeof pending->path || to_long_path(path, pending->path_wide)) {
        *refusal = OUTPUT_NAME_TOO_LONG;
        return nullptr;
    }
    std::strcpy(pending->path, path);
    const wchar_t* wide = pending->path_wide;
    if (reserved_device(path) == CONSOLE_DEVICE) {
        // the screen of the console, whichever way the standard streams go
        return write_directly(L"CONOUT$", GENERIC_READ | GENERIC_WRITE);
    }
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        errno = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EISDIR : EACCES;
        return nullptr; // a read-only file is refused, as opening it would be
    }
    if (is_device(wide)) {
        if (is_same_file(input, path)) {
            *refusal = OUTPUT_IS_INPUT;
            return nullptr;
        }
        return write_directly(wide, GENERIC_WRITE);
    }
    HANDLE created = INVALID_HANDLE_VALUE;
    const name_kind kind = find_link_target(pending, &created);
    if (kind == NAME_REFUSED) {
        return nullptr;
    }
    const bool link = kind == NAME_LINK;
    pending->active = 1;
    output_state = WRITING;
    SetConsoleCtrlHandler(delete_output_on_control, TRUE);
    // The earlier file goes when the process ends, unless the new one replaces
    // it: no stale header survives even TerminateProcess. Nothing reached
    // through a link is marked, but the file created for a dangling one: the
    // mark would land on the link's target.
    pending->old_file = link ? created : open_existing(wide, DELETE);
    if (!link && pending->old_file != INVALID_HANDLE_VALUE &&
        set_delete_on_close(pending->old_file, true)) {
        release_old_file(pending);
    }
    HANDLE temp = create_temp(pending, link ? pending->target_wide : wide);
    pending->temp_handle = temp;
    const bool marked = temp != INVALID_HANDLE_VALUE && !set_delete_on_close(temp, true);
    if (!marked) {
        set_errno_from_last_error();
        if (temp != INVALID_HANDLE_VALUE) {
            CloseHandle(temp);
            DeleteFileW(pending->temp_wide);
        }
    }
    // Out of descriptors, the stream closes the handle, and the file goes with it.
    FILE* stream = marked ? stream_on(temp) : nullptr;
    if (stream == nullptr) {
        const int reason = marked ? EMFILE : errno;
        pending->temp_path[0] = '\0';
        if (pending->old_file != INVALID_HANDLE_VALUE && created == INVALID_HANDLE_VALUE) {
            set_delete_on_close(pending->old_file, false); // nothing was written: keep it
        }
        release_old_file(pending);
        pending->active = 0;
        output_state = state_after(pending);
        *refusal = reason == ENAMETOOLONG ? OUTPUT_NAME_TOO_LONG : OUTPUT_UNAVAILABLE;
        errno = reason;
        return nullptr;
    }
    return stream;
}

} // namespace

bool begin_output(FILE* input, const char* path, FILE** file, pending_output** pending,
                  output_refusal* refusal) {
    return begin_from_pool(outputs, start_output, input, path, file, pending, refusal);
}

void begin_commit() {
    // From here the console handler waits for the commit; if it got here first,
    // the process is ending with Ctrl-C and must not report success.
    if (InterlockedCompareExchange(&output_state, COMMITTING, WRITING) == INTERRUPTED) {
        Sleep(INFINITE);
    }
}

void end_commit(bool committed) {
    if (committed) {
        for (pending_output& pending : outputs) {
            pending.active = 0;
            pending.in_use = false;
        }
    }
    output_state = state_after(nullptr);
}

namespace {

// Another run writing the same header holds the earlier one open, marked for
// deletion, until its own commit, and a file held open cannot be replaced: the
// replacement is tried again for up to 10 seconds. Meanwhile the temporary file
// and the earlier one are marked for deletion again, and a Ctrl-C is taken as
// before the commit, so that a run ended while it waits leaves neither.
constexpr ULONGLONG REPLACE_WAIT_MS = 10000;

bool held_open(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// Waits a moment between two tries with the temporary file marked, and the
// earlier file too unless a link leads to it. A Ctrl-C meanwhile ends the
// process in begin_commit.
void wait_marked(HANDLE temp, const wchar_t* target, bool link) {
    set_delete_on_close(temp, true);
    HANDLE earlier = link ? INVALID_HANDLE_VALUE : open_existing(target, DELETE);
    const bool marked = earlier != INVALID_HANDLE_VALUE && !set_delete_on_close(earlier, true);
    output_state = WRITING;
    Sleep(10);
    begin_commit(); // does not return after a Ctrl-C
    if (marked) {
        set_delete_on_close(earlier, false);
    }
    if (earlier != INVALID_HANDLE_VALUE) {
        CloseHandle(earlier);
    }
    set_delete_on_close(temp, false);
}

// Renames the temporary file over target, through a second handle on it that
// marks it while the rename waits. True when it failed.
bool replace_file(pending_output* pending, HANDLE temp, const wchar_t* target) {
    const ULONGLONG deadline = GetTickCount64() + REPLACE_WAIT_MS;
    for (;;) {
        if (MoveFileExW(pending->temp_wide, target,
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
            return false;
        }
        const DWORD error = GetLastError();
        if (!held_open(error) || temp == INVALID_HANDLE_VALUE || GetTickCount64() >= deadline) {
            SetLastError(error);
            return true;
        }
        wait_marked(temp, target, pending->target_wide[0] != L'\0');
    }
}

} // namespace

bool commit_output(pending_output* pending, FILE* out) {
    bool failed = std::fflush(out) != 0 || std::ferror(out) != 0;
    if (pending->temp_path[0] == '\0') {
        return std::fclose(out) != 0 || failed;
    }
    HANDLE temp = INVALID_HANDLE_VALUE;
    DuplicateHandle(GetCurrentProcess(), pending->temp_handle, GetCurrentProcess(), &temp, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    failed = failed || set_delete_on_close(pending->temp_handle, false);
    failed = std::fclose(out) != 0 || failed;
    if (!failed && pending->old_file != INVALID_HANDLE_VALUE) {
        failed = set_delete_on_close(pending->old_file, false);
        release_old_file(pending);
    }
    hold_commit_for_test(pending);
    // A link stays: the file it leads to is replaced.
    const wchar_t* target =
        pending->target_wide[0] != L'\0' ? pending->target_wide : pending->path_wide;
    failed = failed || replace_file(pending, temp, target);
    if (failed) {
        set_errno_from_last_error();
    }
    if (temp != INVALID_HANDLE_VALUE) {
        CloseHandle(temp);
    }
    pending->renamed = !failed;
    return failed;
}

bool discard_output(pending_output* pending, FILE* out, undeleted_files* undeleted) {
    if (out != nullptr) {
        std::fclose(out); // the temporary file is deleted as it closes
    }
    release_old_file(pending); // and so is the earlier file
    *undeleted = {};
    if (pending->temp_path[0] != '\0') {
        if (!DeleteFileW(pending->temp_wide) && GetLastError() != ERROR_FILE_NOT_FOUND) {
            set_errno_from_last_error();
            *undeleted = {pending->temp_path, errno, nullptr, 0};
        }
        if (delete_name(pending)) {
            set_errno_from_last_error();
            undeleted->name = pending->path;
            undeleted->name_reason = errno;
        }
        // A file a link leads to that this run already wrote goes too.
        if (pending->renamed && pending->target_wide[0] != L'\0' &&
            !DeleteFileW(pending->target_wide) && GetLastError() != ERROR_FILE_NOT_FOUND) {
            set_errno_from_last_error();
            undeleted->name = pending->path;
            undeleted->name_reason = errno;
        }
    }
    pending->active = 0;
    pending->renamed = false;
    pending->in_use = false;
    output_state = state_after(pending);
    return undeleted->temporary != nullptr || undeleted->name != nullptr;
}
