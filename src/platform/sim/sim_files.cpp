// The simulated file system behind files.h: whole files held in memory.
#include "platform/files.h"
#include "platform/sim/sim_files.h"

#include <cctype>
#include <cstring>

namespace platform {

struct FileTag {
    std::string path; // as found or created, the key of sim::Files().files
};

} // namespace platform

namespace sim {

namespace {

constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kFilenameTooLong = 206; // ERROR_FILENAME_EXCED_RANGE

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool InSet(const std::set<std::string>& paths, const std::string& path) {
    for (const std::string& p : paths)
        if (SameName(p, path))
            return true;
    return false;
}

// The key under which a file is stored: its existing spelling, or the given one for a new file.
std::string StoredName(const std::string& full) {
    for (const auto& entry : Files().files)
        if (SameName(entry.first, full))
            return entry.first;
    return full;
}

bool InMissingFolder(const std::string& path) {
    for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
        if (InSet(Files().missingFolders, path.substr(0, end)))
            return true;
    return false;
}

// Whether the bytes are UTF-8 text: the wide functions' conversion refuses anything else.
bool ValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (lead >= 0xF5 || (lead >= 0x80 && lead < 0xC2))
            return false;
        if (lead >= 0xC2)
            extra = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        for (; extra > 0; --extra)
            if (++i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
                return false;
    }
    return true;
}

// The checks every file function makes on the name before the file itself: too long for the
// ANSI functions, empty or naming a folder, inside a folder that does not exist, or (with UTF-8
// paths) bytes that are no UTF-8 text. Sets the error and returns false when the name is refused.
bool NameUsable(const char* path) {
    const size_t length = std::strlen(path);
    if (Files().utf8Paths && !ValidUtf8(path)) {
        Files().lastError = kPathNotFound;
        return false;
    }
    if (length > platform::kLongestFilePath) {
        Files().lastError = kFilenameTooLong;
        return false;
    }
    const std::string full = FullPath(path);
    if (length == 0 || full.back() == '\\' || InMissingFolder(full)) {
        Files().lastError = kPathNotFound;
        return false;
    }
    return true;
}

} // namespace

FileSystem& Files() {
    static FileSystem files;
    return files;
}

std::string* FindFile(const std::string& path) {
    for (auto& entry : Files().files)
        if (SameName(entry.first, path))
            return &entry.second;
    return nullptr;
}

std::string FullPath(const std::string& path) {
    const bool hasDrive = path.size() >= 2 && path[1] == ':';
    if (hasDrive || (!path.empty() && path[0] == '\\'))
        return path;
    std::string rest = path;
    while (rest.size() >= 2 && rest[0] == '.' && rest[1] == '\\')
        rest.erase(0, 2);
    return Files().currentDirectory + "\\" + rest;
}

int64_t BytesStored() {
    int64_t total = 0;
    for (const auto& entry : Files().files)
        total += static_cast<int64_t>(entry.second.size());
    return total;
}

bool IsUnwritable(const std::string& path) {
    for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
        if (InSet(Files().unwritable, path.substr(0, end)))
            return true;
    return InSet(Files().unwritable, path);
}

} // namespace sim

namespace platform {

void UseUtf8Paths() {
    sim::Files().utf8Paths = true;
}

bool FileOpensForReading(const char* path) {
    if (!sim::NameUsable(path))
        return false;
    const std::string full = sim::FullPath(path);
    if (!sim::FindFile(full)) {
        sim::Files().lastError = sim::kFileNotFound;
        return false;
    }
    if (sim::InSet(sim::Files().unreadable, full)) {
        sim::Files().lastError = sim::kAccessDenied;
        return false;
    }
    return true;
}

File CreateFileForWriting(const char* path) {
    if (!sim::NameUsable(path))
        return nullptr;
    const std::string full = sim::FullPath(path);
    // An existing file that cannot be opened cannot be replaced either (Wine: a file another
    // process holds without sharing gives 32, a protected one 5; the sim reports 5 for both).
    if (sim::IsUnwritable(full) ||
        (sim::FindFile(full) && sim::InSet(sim::Files().unreadable, full))) {
        sim::Files().lastError = sim::kAccessDenied;
        return nullptr;
    }
    const std::string name = sim::StoredName(full);
    sim::Files().files[name].clear();
    sim::Files().lastError = 0;
    return new FileTag{name};
}

bool WriteToFile(File file, const void* data, uint32_t size) {
    sim::FileSystem& fs = sim::Files();
    if (fs.failWriteAfter >= 0 && fs.writesDone >= fs.failWriteAfter) {
        fs.lastError = fs.failWriteError;
        return false;
    }
    if (fs.capacity >= 0 && sim::BytesStored() + static_cast<int64_t>(size) > fs.capacity) {
        fs.lastError = sim::kDiskFull;
        return false;
    }
    fs.files[file->path].append(static_cast<const char*>(data), size);
    ++fs.writesDone;
    return true;
}

void CloseFile(File file) {
    delete file;
}

bool ReplaceFile(const char* from, const char* to) {
    sim::FileSystem& fs = sim::Files();
    if (!sim::NameUsable(from) || !sim::NameUsable(to))
        return false;
    const std::string source = sim::FullPath(from);
    const std::string target = sim::FullPath(to);
    std::string* bytes = sim::FindFile(source);
    if (!bytes) {
        fs.lastError = sim::kFileNotFound;
        return false;
    }
    if (sim::IsUnwritable(source) || sim::IsUnwritable(target) ||
        sim::InSet(sim::Files().unreadable, source) ||
        (sim::FindFile(target) && sim::InSet(sim::Files().unreadable, target))) {
        fs.lastError = sim::kAccessDenied;
        return false;
    }
    // A rename: the bytes move, nothing is copied.
    std::string moved = std::move(*bytes);
    fs.files.erase(sim::StoredName(source));
    fs.files.erase(sim::StoredName(target));
    fs.files[target] = std::move(moved);
    return true;
}

void RemoveFile(const char* path) {
    if (!sim::NameUsable(path))
        return;
    const std::string full = sim::FullPath(path);
    if (!sim::FindFile(full)) {
        sim::Files().lastError = sim::kFileNotFound;
        return;
    }
    if (sim::IsUnwritable(full) || sim::InSet(sim::Files().unreadable, full)) {
        sim::Files().lastError = sim::kAccessDenied;
        return;
    }
    sim::Files().files.erase(sim::StoredName(full));
}

uint32_t LastErrorNumber() {
    return sim::Files().lastError;
}

} // namespace platform
