// The settings file is a private profile file in the current directory.
#include "platform/win32/windows_headers_win32.h"

// winbase.h maps WriteProfileString to its ANSI or wide function; the platform's own function has
// that name.
#undef WriteProfileString

#include "platform/profile.h"

namespace platform {

int32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue,
                       const char* path) {
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

uint32_t CurrentDirectory(uint32_t size, char* buffer) {
    return GetCurrentDirectoryA(size, buffer);
}

} // namespace platform
