// Private profile (INI) files and the current directory they live in.
#pragma once

#include <cstdint>

namespace platform {

// GetPrivateProfileIntA.
int32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue,
                       const char* path);
// GetPrivateProfileStringA: copies at most size-1 characters and a terminator; returns the count.
uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const char* path);
// WritePrivateProfileStringA; false when the file could not be written.
bool WriteProfileString(const char* section, const char* key, const char* value, const char* path);
// GetCurrentDirectoryA: the length copied, or the size needed (terminator included) when the
// buffer is too small, or 0 on failure.
uint32_t CurrentDirectory(uint32_t size, char* buffer);

} // namespace platform
