// The settings file is a private profile file in the current directory.
#include "platform/win32/windows_headers_win32.h"

// winbase.h maps WriteProfileString to its ANSI or wide function; the platform's own function has
// that name.
#undef WriteProfileString

#include "platform/profile.h"
#include "platform/win32/path_text_win32.h"

#include <cstring>
#include <string>
#include <vector>

namespace platform {

using win32::WideProfileText;

namespace {
// A path the UTF-8 conversion refused is empty; an empty name would send the profile functions to
// a file in the Windows folder, so it is kept from them as a file that does not exist.
std::wstring WidePath(const char* path) {
    const std::wstring wide = win32::WidePath(path);
    return wide.empty() ? std::wstring(L"<:>") : wide;
}
} // namespace

int32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue,
                       const char* path) {
    if (win32::Utf8Paths())
        return static_cast<int32_t>(GetPrivateProfileIntW(WideProfileText(section).c_str(),
                                                          WideProfileText(key).c_str(),
                                                          defaultValue, WidePath(path).c_str()));
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const char* path) {
    if (win32::Utf8Paths()) {
        std::vector<wchar_t> wide(size > 0 ? size : 1, L'\0');
        const DWORD length = GetPrivateProfileStringW(
            WideProfileText(section).c_str(), WideProfileText(key).c_str(),
            WideProfileText(defaultValue).c_str(), wide.data(), size, WidePath(path).c_str());
        return win32::NarrowProfileText(wide.data(), length, buffer, size);
    }
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    if (win32::Utf8Paths())
        return WritePrivateProfileStringW(
                   WideProfileText(section).c_str(), WideProfileText(key).c_str(),
                   WideProfileText(value).c_str(), WidePath(path).c_str()) != FALSE;
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

uint32_t CurrentDirectory(uint32_t size, char* buffer) {
    if (win32::Utf8Paths()) {
        // The length counts UTF-8 bytes, as the caller's buffer does.
        wchar_t wide[MAX_PATH + 1] = {};
        const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, wide);
        if (length == 0 || length > MAX_PATH)
            return 0;
        const std::string text = win32::NarrowPath(wide);
        if (text.size() + 1 > size)
            return static_cast<uint32_t>(text.size() + 1);
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<uint32_t>(text.size());
    }
    return GetCurrentDirectoryA(size, buffer);
}

} // namespace platform
