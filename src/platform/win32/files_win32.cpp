// Files the tool opens itself: the settings file's check and the still images.
#include "platform/win32/windows_headers_win32.h"

// winbase.h maps ReplaceFile to its ANSI or wide function; the platform's own function has that
// name.
#undef ReplaceFile

#include "platform/files.h"
#include "platform/win32/path_text_win32.h"
#include "platform/win32/resource_counts_win32.h"

namespace platform {

namespace {

HANDLE OpenFile(const char* path, DWORD access, DWORD sharing, DWORD disposition, DWORD flags) {
    if (win32::Utf8Paths())
        return CreateFileW(win32::WidePath(path).c_str(), access, sharing, nullptr, disposition,
                           flags, nullptr);
    return CreateFileA(path, access, sharing, nullptr, disposition, flags, nullptr);
}

} // namespace

bool FileOpensForReading(const char* path) {
    HANDLE file =
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

File CreateFileForWriting(const char* path) {
    HANDLE file = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, 0);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    win32::CountFileOpened();
    return reinterpret_cast<File>(file);
}

bool WriteToFile(File file, const void* data, uint32_t size) {
    DWORD written = 0;
    return WriteFile(reinterpret_cast<HANDLE>(file), data, size, &written, nullptr) != FALSE;
}

void CloseFile(File file) {
    if (!file)
        return;
    win32::CountFileClosed();
    CloseHandle(reinterpret_cast<HANDLE>(file));
}

bool ReplaceFile(const char* from, const char* to) {
    if (win32::Utf8Paths())
        return MoveFileExW(win32::WidePath(from).c_str(), win32::WidePath(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING) != FALSE;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

void RemoveFile(const char* path) {
    if (win32::Utf8Paths())
        DeleteFileW(win32::WidePath(path).c_str());
    else
        DeleteFileA(path);
}

uint32_t LastErrorNumber() {
    return GetLastError();
}

} // namespace platform
