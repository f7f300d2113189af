#include "camera/bitmap_file.h"

#include "platform/files.h"

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

} // namespace

platform::HResult WriteBitmapFile(const char* path, const uint8_t* info, uint32_t infoSize,
                                  const uint8_t* pixels, uint32_t pixelSize) {
    uint8_t header[14] = {};
    PutLittleEndian(header, 0x4D42, 2);
    PutLittleEndian(header + 2, 14 + infoSize + pixelSize, 4);
    PutLittleEndian(header + 10, 14 + infoSize, 4);

    const std::string partial = std::string(path) + ".partial";
    platform::File file = platform::CreateFileForWriting(partial.c_str());
    if (!file)
        return FileError(platform::LastErrorNumber());
    const bool written = platform::WriteToFile(file, header, sizeof header) &&
                         platform::WriteToFile(file, info, infoSize) &&
                         platform::WriteToFile(file, pixels, pixelSize);
    const uint32_t writeError = written ? 0 : platform::LastErrorNumber();
    platform::CloseFile(file);
    if (!written) {
        platform::RemoveFile(partial.c_str());
        return FileError(writeError);
    }
    if (!platform::ReplaceFile(partial.c_str(), path)) {
        const uint32_t error = platform::LastErrorNumber();
        platform::RemoveFile(partial.c_str());
        return FileError(error);
    }
    return platform::kOk;
}
