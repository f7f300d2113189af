#include "camera/frame_format.h"

#include <cstring>

namespace {

constexpr uint32_t kBitmapHeaderSize = 40;
constexpr uint32_t kUncompressedRgb = 0; // BI_RGB
constexpr uint32_t kBitFields = 3;       // BI_BITFIELDS: three colour masks follow the header

// The BITMAPINFOHEADER fields the check needs.
struct BitmapHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t coloursUsed;
};

template <typename T> T Field(const uint8_t* header, uint32_t offset) {
    T value;
    std::memcpy(&value, header + offset, sizeof value);
    return value;
}

BitmapHeader ReadHeader(const uint8_t* header) {
    return {Field<uint32_t>(header, 0),  Field<int32_t>(header, 4),   Field<int32_t>(header, 8),
            Field<uint16_t>(header, 12), Field<uint16_t>(header, 14), Field<uint32_t>(header, 16),
            Field<uint32_t>(header, 32)};
}

bool SupportedBitCount(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The bytes that must follow the header inside the block: three masks, or the palette of a
// picture of 8 bits or fewer (as many entries as it says it uses, at most 2^bits, or all 2^bits).
// -1 when the header asks for more colours than its bit count allows.
int64_t TableSize(const BitmapHeader& h) {
    if (h.compression == kBitFields)
        return h.size >= 52 ? 0 : 12; // from the version-2 header on, the masks are part of it
    if (h.bitCount > 8)
        return 0;
    const uint32_t most = 1u << h.bitCount;
    if (h.coloursUsed > most)
        return -1;
    return 4 * static_cast<int64_t>(h.coloursUsed ? h.coloursUsed : most);
}

} // namespace

bool FrameMatchesFormat(const platform::MediaType& type, uint32_t frameSize) {
    if (!platform::SameGuid(type.formatType, platform::kFormatVideoInfo) || !type.format ||
        type.formatSize < platform::kVideoInfoSize)
        return false;
    const uint8_t* header = type.format + platform::kBitmapInfoOffset;
    const uint32_t room = type.formatSize - platform::kBitmapInfoOffset;
    const BitmapHeader h = ReadHeader(header);
    if (h.size < kBitmapHeaderSize || h.size > room)
        return false;
    if (h.width <= 0 || h.height == 0 || h.planes != 1 || !SupportedBitCount(h.bitCount))
        return false;
    const bool masks = h.compression == kBitFields && (h.bitCount == 16 || h.bitCount == 32);
    if (h.compression != kUncompressedRgb && !masks)
        return false;
    const int64_t table = TableSize(h);
    if (table < 0 || h.size + table > room)
        return false;
    // 64-bit throughout: a width of 2^31-1 at 32 bits per pixel is 8 GB a row, and the rows times
    // that would pass even 64 bits, so the frame is divided instead.
    const int64_t stride = (static_cast<int64_t>(h.width) * h.bitCount + 31) / 32 * 4;
    const int64_t rows = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
    return frameSize % stride == 0 && static_cast<int64_t>(frameSize) / stride == rows;
}
