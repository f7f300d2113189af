#include "camera/stream_format.h"

#include "camera/capture_filters.h"
#include "camera/media_types.h"
#include "camera/preview_graph.h"
#include "platform/held.h"

#include <algorithm>
#include <cstring>

using namespace platform;

namespace {

void WriteField(MediaType& type, uint32_t offset, const void* value, size_t size) {
    std::memcpy(type.format + offset, value, size);
}

// Where the fields a format request changes lie in a format block of a given type.
struct VideoFields {
    uint32_t blockSize;
    uint32_t avgTimePerFrame;
    uint32_t width;
    uint32_t height;
};

// The layout of the block's type, or null for a type that carries no video-info block.
const VideoFields* FieldsOf(const Guid& formatType) {
    static const VideoFields videoInfo = {kVideoInfoSize, kAvgTimePerFrameOffset,
                                          kBitmapWidthOffset, kBitmapHeightOffset};
    static const VideoFields videoInfo2 = {kVideoInfo2Size, kAvgTimePerFrameOffset,
                                           kVideoInfo2BitmapWidthOffset,
                                           kVideoInfo2BitmapHeightOffset};
    if (SameGuid(formatType, kFormatVideoInfo))
        return &videoInfo;
    if (SameGuid(formatType, kFormatVideoInfo2))
        return &videoInfo2;
    return nullptr;
}

// The frame time of a rate, in 100 ns, truncated towards zero (333333 for 30).
int64_t FrameTimeOf(double framesPerSecond) {
    return static_cast<int64_t>(10000000.0 / framesPerSecond);
}

// The frame time an entry allows that lies nearest the one asked.
int64_t NearestAllowed(const StreamCapsEntry& entry, int64_t asked) {
    const int64_t longest = std::max(entry.minFrameInterval, entry.maxFrameInterval);
    return std::min(std::max(asked, entry.minFrameInterval), longest);
}

int64_t Distance(int64_t a, int64_t b) {
    return a > b ? a - b : b - a;
}

// The entry of the wanted size that a refused request falls back to: the one whose allowed frame
// time comes nearest the asked one, the earlier in the list on a tie. So a camera that lists
// 1920x1080 uncompressed at 5 fps and compressed at 30 fps is given the compressed entry at 30.
struct Fallback {
    int32_t index = -1;
    int64_t frameTime = 0;
    int64_t distance = 0;

    void Consider(int32_t i, const StreamCapsEntry& entry, int64_t asked) {
        const int64_t allowed = NearestAllowed(entry, asked);
        if (index >= 0 && Distance(allowed, asked) >= distance)
            return;
        index = i;
        frameTime = allowed;
        distance = Distance(allowed, asked);
    }
};

// Asks for the entry's own media type, as the pin listed it, with the chosen frame time.
bool RequestListedFormat(StreamConfig config, int32_t capsSize, const Fallback& fallback) {
    MediaType* listed = nullptr;
    StreamCapsEntry entry;
    if (Failed(StreamCaps(config, fallback.index, capsSize, &listed, &entry)) || !listed)
        return false;
    const VideoFields* fields = FieldsOf(listed->formatType);
    if (fields && listed->format && listed->formatSize >= fields->blockSize)
        WriteField(*listed, fields->avgTimePerFrame, &fallback.frameTime,
                   sizeof fallback.frameTime);
    const HResult result = StreamSetFormat(config, listed);
    DestroyMediaType(listed);
    return !Failed(result);
}

} // namespace

HResult SetStreamFormat(int slot, int width, int height, int framesPerSecond) {
    return SetCameraStreamFormat(PreviewGraph.CaptureBuilder, CaptureFilters[slot], width, height,
                                 framesPerSecond);
}

HResult SetCameraStreamFormat(CaptureBuilder builder, Filter camera, int width, int height,
                              int framesPerSecond) {
    Held<StreamConfig> config;
    if (FindCaptureStreamConfig(builder, camera, config.Receive()) != kOk)
        return kFail;
    int32_t count = 0, capsSize = 0;
    HResult result = StreamCapsCount(config.Get(), &count, &capsSize);
    const int64_t asked = FrameTimeOf(framesPerSecond);
    Fallback fallback;
    bool requested = false, taken = false;
    for (int32_t i = 0; i < count; ++i) {
        MediaType* listed = nullptr;
        StreamCapsEntry entry;
        result = StreamCaps(config.Get(), i, capsSize, &listed, &entry);
        const bool wanted = !Failed(result) && entry.width == width && entry.height == height;
        DestroyMediaType(listed);
        if (!wanted)
            continue;
        fallback.Consider(i, entry, asked);
        MediaType* again = nullptr;
        result = StreamCaps(config.Get(), i, capsSize, &again, &entry);
        if (Failed(result))
            continue;
        Held<Pin> pin(FindFreeOutputPin(camera, kPinOutput));
        const bool accepted =
            ApplyPinFormat(pin.Get(), width, height, framesPerSecond, kMediaSubtypeRgb24);
        result = accepted ? 1 : 0;
        requested = true;
        taken = taken || accepted;
        // Requests go on for every entry of the wanted size up to the first uncompressed one.
        if (again && SameGuid(again->subtype, kMediaSubtypeRgb24))
            count = 0;
        DestroyMediaType(again);
    }
    // A pin takes only a type one of its entries describes: a camera without RGB24 at that size
    // (a USB video class camera offers YUY2 and MJPG) or without that rate refuses every request
    // derived from its current format. It is then asked for an entry of its own, which the
    // platform's converters bring to the grabber's RGB24.
    if (requested && !taken && fallback.index >= 0)
        result = RequestListedFormat(config.Get(), capsSize, fallback) ? 1 : 0;
    return result;
}

bool ApplyPinFormat(Pin pin, int width, int height, double framesPerSecond, const Guid& subtype) {
    if (!pin)
        return false;
    Held<StreamConfig> config;
    if (QueryStreamConfig(pin, config.Receive()) != kOk)
        return false;
    MediaType* format = nullptr;
    if (Failed(StreamGetFormat(config.Get(), &format)) || !format)
        return false;
    if (!SameGuid(subtype, kNullGuid))
        format->subtype = subtype;
    // The fields lie where the block's type puts them; a block of another type, or one too short
    // for its type, is left as it is.
    const VideoFields* fields = FieldsOf(format->formatType);
    if (fields && format->format && format->formatSize >= fields->blockSize) {
        if (framesPerSecond != -1.0) {
            const int64_t perFrame = FrameTimeOf(framesPerSecond);
            WriteField(*format, fields->avgTimePerFrame, &perFrame, sizeof perFrame);
        }
        if (width != -1) {
            const int32_t w = width;
            WriteField(*format, fields->width, &w, sizeof w);
        }
        if (height != -1) {
            const int32_t h = height;
            WriteField(*format, fields->height, &h, sizeof h);
        }
    }
    const HResult result = StreamSetFormat(config.Get(), format);
    DestroyMediaType(format);
    return !Failed(result);
}

Pin FindFreeOutputPin(Filter filter, int direction) {
    Held<PinList> pins;
    if (Failed(EnumeratePins(filter, pins.Receive())) || !pins)
        return nullptr;
    while (Pin pin = NextPin(pins.Get())) {
        int pinDirection = -1;
        if (!Failed(PinDirection(pin, &pinDirection)) && pinDirection == direction) {
            Pin peer = nullptr;
            if (Failed(PinConnectedTo(pin, &peer)) || !peer)
                return pin;
            Release(peer);
        }
        Release(pin);
    }
    return nullptr;
}
