// Runs a profile case file (see tests/common/profile_case_runner.h) against the system's own
// private-profile functions; tests/e2e/profile_differential.sh compares what it prints with the
// simulated desktop's answers.
#include "../common/profile_case_runner.h"

#include <windows.h>

#include <fstream>
#include <map>
#include <iterator>

namespace {

std::map<std::string, HANDLE> locks; // files held open without sharing, by path

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool LockFile(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    locks[path] = file;
    return true;
}

bool UnlockFile(const std::string& path) {
    const auto lock = locks.find(path);
    if (lock == locks.end())
        return false;
    CloseHandle(lock->second);
    locks.erase(lock);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const ProfileSystem system = {
        [](uint32_t size, char* buffer) -> uint32_t { return GetCurrentDirectoryA(size, buffer); },
        [](const char* section, const char* key, int32_t fallback, const char* path) {
            return static_cast<int32_t>(GetPrivateProfileIntA(section, key, fallback, path));
        },
        [](const char* section, const char* key, const char* fallback, char* buffer, uint32_t size,
           const char* path) -> uint32_t {
            return GetPrivateProfileStringA(section, key, fallback, buffer, size, path);
        },
        [](const char* section, const char* key, const char* value, const char* path) {
            return WritePrivateProfileStringA(section, key, value, path) != FALSE;
        },
        [](const std::string& path, const std::string& bytes) {
            std::ofstream(path, std::ios::binary) << bytes;
        },
        ReadWholeFile,
        [](const std::string& path) { DeleteFileA(path.c_str()); },
        LockFile,
        UnlockFile,
        [] {
            for (const auto& lock : locks)
                CloseHandle(lock.second);
            locks.clear();
        },
    };
    return RunProfileCases(argc, argv, "profile_probe", system);
}
