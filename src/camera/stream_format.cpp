#include "camera/stream_format.h"

#include "camera/capture_filters.h"
#include "camera/media_types.h"
#include "camera/preview_graph.h"
#include "platform/held.h"

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
    for (int32_t i = 0; i < count; ++i) {
        MediaType* listed = nullptr;
        int32_t listedWidth = 0, listedHeight = 0;
        result = StreamCaps(config.Get(), i, capsSize, &listed, &listedWidth, &listedHeight);
        const bool wanted = !Failed(result) && listedWidth == width && listedHeight == height;
        DestroyMediaType(listed);
        if (!wanted)
            continue;
        MediaType* again = nullptr;
        result = StreamCaps(config.Get(), i, capsSize, &again, &listedWidth, &listedHeight);
        if (Failed(result))
            continue;
        Held<Pin> pin(FindFreeOutputPin(camera, kPinOutput));
        result =
            ApplyPinFormat(pin.Get(), width, height, framesPerSecond, kMediaSubtypeRgb24) ? 1 : 0;
        // Requests go on for every entry of the wanted size up to the first uncompressed one.
        if (again && SameGuid(again->subtype, kMediaSubtypeRgb24))
            count = 0;
        DestroyMediaType(again);
    }
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
            const int64_t perFrame = static_cast<int64_t>(10000000.0 / framesPerSecond);
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
