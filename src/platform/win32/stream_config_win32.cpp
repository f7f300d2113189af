// The capture pin's stream configuration: the formats it offers and the one it uses.
#include "platform/win32/graph_handles_win32.h"
#include "platform/win32/resource_counts_win32.h"

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

HResult StreamCapsCount(StreamConfig config, int32_t* count) {
    int number = 0;
    int capsSize = 0;
    const HRESULT result =
        win32::ToStreamConfig(config)->GetNumberOfCapabilities(&number, &capsSize);
    if (SUCCEEDED(result))
        *count = number;
    return result;
}

HResult StreamCaps(StreamConfig config, int32_t index, MediaType** type, int32_t* width,
                   int32_t* height) {
    // GetStreamCaps writes as many bytes as the pin's caps record has, which a filter may make
    // longer than the video record; the room to spare keeps such a filter from writing past it.
    union {
        VIDEO_STREAM_CONFIG_CAPS caps;
        BYTE room[1024];
    } record = {};
    AM_MEDIA_TYPE* listed = nullptr;
    const HRESULT result =
        win32::ToStreamConfig(config)->GetStreamCaps(index, &listed, record.room);
    if (FAILED(result))
        return result;
    CountTypeOwned(listed);
    const VIDEO_STREAM_CONFIG_CAPS& caps = record.caps;
    *type = reinterpret_cast<MediaType*>(listed);
    *width = caps.InputSize.cx;
    *height = caps.InputSize.cy;
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
