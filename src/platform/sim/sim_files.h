// The simulated file system: whole files as byte strings, keyed by their path as the tool spells
// it, and the process's current directory. Tests read and write it directly.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace sim {

struct FileSystem {
    std::string currentDirectory = "C:\\work";
    std::map<std::string, std::string> files; // path -> bytes
    std::set<std::string> unwritable;         // paths that cannot be created or written
    std::set<std::string> unreadable;         // paths that exist but cannot be opened
    // Folders and drives that do not exist ("Q:", "C:\\gone"): nothing in them can be created.
    std::set<std::string> missingFolders;
    // Bytes that all files together may hold (-1: no limit); a write beyond it fails with
    // ERROR_DISK_FULL and writes nothing.
    int64_t capacity = -1;
    // A write of a bitmap file fails after this many successful writes (-1: never): "disk full".
    int failWriteAfter = -1;
    uint32_t failWriteError = 112; // ERROR_DISK_FULL
    int writesDone = 0;            // successful writes so far, counted against failWriteAfter
    uint32_t lastError = 0;        // what GetLastError would return
    bool utf8Paths = false;        // UseUtf8Paths was called: paths are UTF-8, not ANSI
};

FileSystem& Files();

// Profile paths are compared without regard to letter case, as on Windows.
std::string* FindFile(const std::string& path);

// The full path of a path the tool passes to the file functions: one without a drive or a leading
// backslash is taken in the current directory (a leading ".\\" dropped).
std::string FullPath(const std::string& path);

// Whether a path lies in (or is) one of the unwritable paths.
bool IsUnwritable(const std::string& path);

// The bytes that all files hold together.
int64_t BytesStored();

} // namespace sim
