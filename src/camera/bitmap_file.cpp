#include "camera/bitmap_file.h"

#include "platform/files.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

// 0x8007xxxx from the system's error number; an error number of 0 is still a failure.
platform::HResult FileError(uint32_t error) {
    if (error == 0)
        return platform::kFail;
    return static_cast<platform::HResult>(0x80070000u | (error & 0xFFFF));
}

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b)
        at[b] = static_cast<uint8_t>(value >> (8 * b));
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The folder part of a path, its separator included: "C:\shots\" of "C:\shots\a.bmp", "C:" of
// "C:a.bmp", empty for a bare name.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos)
        return path.substr(0, slash + 1);
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    return std::string();
}

// Where the image is written before it is put in place: beside it under its own name and
// ".partial", or, when that is too long for the file functions (a path of 252 characters or more),
// under a short name in the same folder, so that the rename stays within one folder and one
// drive. Empty when neither fits: the image is then written in place.
std::string TemporaryName(const std::string& path) {
    const std::string candidates[] = {path + ".partial", FolderOf(path) + "~fw.partial"};
    for (const std::string& candidate : candidates)
        if (candidate.size() <= platform::kLongestFilePath && !SameName(candidate, path))
            return candidate;
    return std::string();
}

struct Blocks {
    const uint8_t* header;
    const uint8_t* info;
    uint32_t infoSize;
    const uint8_t* pixels;
    uint32_t pixelSize;
};

// Creates the file and writes the three blocks. A file that could not be written completely is
// removed again. Returns 0 or the failure status.
platform::HResult WriteWholeFile(const char* path, const Blocks& blocks) {
    platform::File file = platform::CreateFileForWriting(path);
    if (!file)
        return FileError(platform::LastErrorNumber());
    const bool written = platform::WriteToFile(file, blocks.header, 14) &&
                         platform::WriteToFile(file, blocks.info, blocks.infoSize) &&
                         platform::WriteToFile(file, blocks.pixels, blocks.pixelSize);
    const uint32_t writeError = written ? 0 : platform::LastErrorNumber();
    platform::CloseFile(file);
    if (!written) {
        platform::RemoveFile(path);
        return FileError(writeError);
    }
    return platform::kOk;
}

} // namespace

platform::HResult WriteBitmapFile(const char* path, const uint8_t* info, uint32_t infoSize,
                                  const uint8_t* pixels, uint32_t pixelSize) {
    const uint64_t fileSize = 14ull + infoSize + pixelSize;
    if (fileSize > UINT32_MAX)
        return platform::kFail; // the file header cannot state the size
    uint8_t header[14] = {};
    PutLittleEndian(header, 0x4D42, 2);
    PutLittleEndian(header + 2, static_cast<uint32_t>(fileSize), 4);
    PutLittleEndian(header + 10, 14 + infoSize, 4);
    const Blocks blocks{header, info, infoSize, pixels, pixelSize};

    const std::string temporary = TemporaryName(path);
    if (temporary.empty())
        return WriteWholeFile(path, blocks); // no room for a second name in this folder
    const platform::HResult written = WriteWholeFile(temporary.c_str(), blocks);
    if (platform::Failed(written))
        return written;
    if (!platform::ReplaceFile(temporary.c_str(), path)) {
        const uint32_t error = platform::LastErrorNumber();
        platform::RemoveFile(temporary.c_str());
        return FileError(error);
    }
    return platform::kOk;
}
