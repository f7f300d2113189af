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

} // namespace

HResult SetStreamFormat(int slot, int width, int height, int framesPerSecond) {
    Held<StreamConfig> config;
    if (FindCaptureStreamConfig(PreviewGraph.CaptureBuilder, CaptureFilters[slot],
                                config.Receive()) != kOk)
        return kFail;
    int32_t count = 0;
    HResult result = StreamCapsCount(config.Get(), &count);
    for (int32_t i = 0; i < count; ++i) {
        MediaType* listed = nullptr;
        int32_t listedWidth = 0, listedHeight = 0;
        result = StreamCaps(config.Get(), i, &listed, &listedWidth, &listedHeight);
        const bool wanted = !Failed(result) && listedWidth == width && listedHeight == height;
        DestroyMediaType(listed);
        if (!wanted)
            continue;
        MediaType* again = nullptr;
        result = StreamCaps(config.Get(), i, &again, &listedWidth, &listedHeight);
        if (Failed(result))
            continue;
        Held<Pin> pin(FindFreeOutputPin(CaptureFilters[slot], kPinOutput));
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
    // Only a whole video-info block has the fields to change; a shorter one is left as it is.
    if (format->format && format->formatSize >= kVideoInfoSize) {
        if (framesPerSecond != -1.0) {
            const int64_t perFrame = static_cast<int64_t>(10000000.0 / framesPerSecond);
            WriteField(*format, kAvgTimePerFrameOffset, &perFrame, sizeof perFrame);
        }
        if (width != -1) {
            const int32_t w = width;
            WriteField(*format, kBitmapWidthOffset, &w, sizeof w);
        }
        if (height != -1) {
            const int32_t h = height;
            WriteField(*format, kBitmapHeightOffset, &h, sizeof h);
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
