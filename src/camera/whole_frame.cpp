#include "camera/whole_frame.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kCompressionOffset = platform::kBitmapInfoOffset + 16;
constexpr uint32_t kBitCountOffset = platform::kBitmapInfoOffset + 14;
constexpr uint32_t kUncompressedRgb = 0; // BI_RGB
constexpr uint32_t kBitFields = 3;       // BI_BITFIELDS

template <class Value> Value Read(const uint8_t* block, uint32_t offset) {
    Value value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}

} // namespace

bool HoldsWholeFrame(const platform::MediaType& type, int32_t sampleSize) {
    if (!platform::SameGuid(type.formatType, platform::kFormatVideoInfo) || !type.format ||
        type.formatSize < platform::kVideoInfoSize)
        return true;
    const uint32_t compression = Read<uint32_t>(type.format, kCompressionOffset);
    if (compression != kUncompressedRgb && compression != kBitFields)
        return true;
    const int64_t width = Read<int32_t>(type.format, platform::kBitmapWidthOffset);
    const int64_t height = std::llabs(Read<int32_t>(type.format, platform::kBitmapHeightOffset));
    const int64_t bits = Read<uint16_t>(type.format, kBitCountOffset);
    const int64_t stride = (width * bits + 31) / 32 * 4;
    return sampleSize >= stride * height;
}
