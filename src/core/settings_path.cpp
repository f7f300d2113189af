#include "core/settings_path.h"

#include "platform/files.h"
#include "platform/profile.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr const char* kFileName = "\\Framewright.ini";
// Used when the current directory is too long for the full path to fit 260 characters: the
// profile functions resolve a path with a directory part against the current directory.
constexpr const char* kRelativePath = ".\\Framewright.ini";
constexpr const char* kInCurrentDirectory = ".\\";

char settingsPath[260];

} // namespace

const char* SettingsPath() {
    return settingsPath;
}

void ComputeSettingsPath() {
    char directory[260] = {};
    const uint32_t length = platform::CurrentDirectory(259, directory);
    const size_t nameLength = std::strlen(kFileName);
    if (length == 0 || length >= 259 || length + nameLength >= sizeof settingsPath) {
        std::strcpy(settingsPath, kRelativePath);
        return;
    }
    std::memcpy(settingsPath, directory, length);
    std::strcpy(settingsPath + length, kFileName);
}

bool UseSettingsPath(const char* name) {
    const bool bareName = std::strpbrk(name, "\\/") == nullptr;
    const size_t prefixLength = bareName ? std::strlen(kInCurrentDirectory) : 0;
    const size_t length = std::strlen(name);
    if (length == 0 || prefixLength + length > platform::kLongestFilePath)
        return false;
    std::strcpy(settingsPath, bareName ? kInCurrentDirectory : "");
    std::strcat(settingsPath, name);
    return true;
}
