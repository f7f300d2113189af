// The capture pin's stream configuration: the formats it offers and the one it uses.
#include "platform/win32/graph_handles_win32.h"
#include "platform/win32/resource_counts_win32.h"

#include <dvdmedia.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// A media type record the framework allocated, with its format block and IUnknown, now the
// logic's to free.
void CountTypeOwned(AM_MEDIA_TYPE* type) {
    if (!type)
        return;
    platform::win32::CountBlockOwned(type);
    platform::win32::CountBlockOwned(type->pbFormat);
    platform::win32::CountUnknownOwned(type->pUnk);
}

} // namespace

namespace platform {

// The fields a format request changes, where the logic writes them (media_graph.h).
static_assert(sizeof(VIDEOINFOHEADER) == kVideoInfoSize, "video-info block size");
static_assert(offsetof(VIDEOINFOHEADER, AvgTimePerFrame) == kAvgTimePerFrameOffset, "frame time");
static_assert(offsetof(VIDEOINFOHEADER, bmiHeader) == kBitmapInfoOffset, "bitmap header");
static_assert(offsetof(VIDEOINFOHEADER, bmiHeader.biWidth) == kBitmapWidthOffset, "width");
static_assert(offsetof(VIDEOINFOHEADER, bmiHeader.biHeight) == kBitmapHeightOffset, "height");
static_assert(sizeof(VIDEOINFOHEADER2) == kVideoInfo2Size, "second video-info block size");
static_assert(offsetof(VIDEOINFOHEADER2, AvgTimePerFrame) == kAvgTimePerFrameOffset,
              "frame time of the second block");
static_assert(offsetof(VIDEOINFOHEADER2, dwInterlaceFlags) == kVideoInfo2InterlaceOffset,
              "interlace flags");
static_assert(offsetof(VIDEOINFOHEADER2, dwCopyProtectFlags) == kVideoInfo2CopyProtectOffset,
              "copy protection flags");
static_assert(offsetof(VIDEOINFOHEADER2, dwPictAspectRatioX) == kVideoInfo2AspectXOffset,
              "aspect ratio x");
static_assert(offsetof(VIDEOINFOHEADER2, dwPictAspectRatioY) == kVideoInfo2AspectYOffset,
              "aspect ratio y");
static_assert(offsetof(VIDEOINFOHEADER2, bmiHeader) == kVideoInfo2BitmapInfoOffset,
              "bitmap header of the second block");
static_assert(offsetof(VIDEOINFOHEADER2, bmiHeader.biWidth) == kVideoInfo2BitmapWidthOffset,
              "width in the second block");
static_assert(offsetof(VIDEOINFOHEADER2, bmiHeader.biHeight) == kVideoInfo2BitmapHeightOffset,
              "height in the second block");

// No caps record comes near this; a pin that reports more is not believed.
constexpr int32_t kMaxCapsRecordSize = 64 * 1024;

HResult StreamCapsCount(StreamConfig config, int32_t* count, int32_t* capsSize) {
    int number = 0;
    int size = 0;
    const HRESULT result = win32::ToStreamConfig(config)->GetNumberOfCapabilities(&number, &size);
    if (SUCCEEDED(result)) {
        *count = number;
        *capsSize = size;
    }
    return result;
}

HResult StreamCaps(StreamConfig config, int32_t index, int32_t capsSize, MediaType** type,
                   StreamCapsEntry* entry) {
    // GetStreamCaps writes as many bytes as the pin's caps record has, which the pin reports with
    // the number of capabilities and which a filter may make longer than the video record. The
    // buffer holds that many bytes, and never fewer than the video record that is read from it.
    if (capsSize < 0 || capsSize > kMaxCapsRecordSize)
        return E_INVALIDARG;
    std::vector<BYTE> record(
        std::max<size_t>(static_cast<size_t>(capsSize), sizeof(VIDEO_STREAM_CONFIG_CAPS)), 0);
    AM_MEDIA_TYPE* listed = nullptr;
    const HRESULT result =
        win32::ToStreamConfig(config)->GetStreamCaps(index, &listed, record.data());
    if (FAILED(result))
        return result;
    CountTypeOwned(listed);
    VIDEO_STREAM_CONFIG_CAPS caps;
    std::memcpy(&caps, record.data(), sizeof caps);
    *type = reinterpret_cast<MediaType*>(listed);
    entry->width = caps.InputSize.cx;
    entry->height = caps.InputSize.cy;
    entry->minFrameInterval = caps.MinFrameInterval;
    entry->maxFrameInterval = caps.MaxFrameInterval;
    return result;
}

HResult StreamGetFormat(StreamConfig config, MediaType** type) {
    AM_MEDIA_TYPE* current = nullptr;
    const HRESULT result = win32::ToStreamConfig(config)->GetFormat(&current);
    if (SUCCEEDED(result)) {
        CountTypeOwned(current);
        *type = reinterpret_cast<MediaType*>(current);
    }
    return result;
}

HResult StreamSetFormat(StreamConfig config, MediaType* type) {
    return win32::ToStreamConfig(config)->SetFormat(win32::ToMediaType(type));
}

HResult QueryStreamConfig(Pin pin, StreamConfig* out) {
    return win32::QueryInto(win32::ToPin(pin), IID_IAMStreamConfig, out);
}

void Release(StreamConfig config) {
    win32::ToStreamConfig(config)->Release();
}

} // namespace platform
