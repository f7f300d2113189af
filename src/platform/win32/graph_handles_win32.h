// The casts between the media graph handles and the COM interfaces behind them.
#pragma once

#include <cstddef>

#include "platform/media_graph.h"
#include "platform/win32/com_handles_win32.h"
#include "platform/win32/sample_grabber_interface_win32.h"

namespace platform::win32 {

// The logic builds media types in its own record; the bindings pass it to the framework as is.
static_assert(sizeof(MediaType) == sizeof(AM_MEDIA_TYPE), "media type record size");
static_assert(offsetof(MediaType, formatType) == offsetof(AM_MEDIA_TYPE, formattype),
              "media type format type offset");
static_assert(offsetof(MediaType, unknown) == offsetof(AM_MEDIA_TYPE, pUnk),
              "media type unknown offset");
static_assert(offsetof(MediaType, format) == offsetof(AM_MEDIA_TYPE, pbFormat),
              "media type format offset");

inline AM_MEDIA_TYPE* ToMediaType(MediaType* type) {
    return reinterpret_cast<AM_MEDIA_TYPE*>(type);
}
inline const AM_MEDIA_TYPE* ToMediaType(const MediaType* type) {
    return reinterpret_cast<const AM_MEDIA_TYPE*>(type);
}
inline IUnknown* ToUnknown(GraphObject graph) {
    return reinterpret_cast<IUnknown*>(graph);
}
inline IFilterGraph* ToFilterGraph(FilterGraph graph) {
    return reinterpret_cast<IFilterGraph*>(graph);
}
inline IGraphBuilder* ToGraphBuilder(GraphBuilder builder) {
    return reinterpret_cast<IGraphBuilder*>(builder);
}
inline IMediaControl* ToMediaControl(MediaControl control) {
    return reinterpret_cast<IMediaControl*>(control);
}
inline IVideoWindow* ToVideoWindow(VideoWindow window) {
    return reinterpret_cast<IVideoWindow*>(window);
}
inline ICaptureGraphBuilder2* ToCaptureBuilder(CaptureBuilder builder) {
    return reinterpret_cast<ICaptureGraphBuilder2*>(builder);
}
inline GrabberInterface* ToGrabber(SampleGrabber grabber) {
    return reinterpret_cast<GrabberInterface*>(grabber);
}
inline IAMStreamConfig* ToStreamConfig(StreamConfig config) {
    return reinterpret_cast<IAMStreamConfig*>(config);
}
inline IPin* ToPin(Pin pin) {
    return reinterpret_cast<IPin*>(pin);
}
inline IEnumPins* ToPinList(PinList list) {
    return reinterpret_cast<IEnumPins*>(list);
}

// QueryInterface into an opaque handle, which is set only on success.
template <class Handle> HRESULT QueryInto(IUnknown* object, const IID& interfaceId, Handle* out) {
    void* found = nullptr;
    const HRESULT result = object->QueryInterface(interfaceId, &found);
    if (SUCCEEDED(result) && found)
        *out = reinterpret_cast<Handle>(found);
    return result;
}

// CoCreateInstance of an in-process server into an opaque handle, set only on success.
template <class Handle>
HRESULT CreateInto(const CLSID& classId, DWORD context, const IID& interfaceId, Handle* out) {
    void* created = nullptr;
    const HRESULT result = CoCreateInstance(classId, nullptr, context, interfaceId, &created);
    if (SUCCEEDED(result) && created)
        *out = reinterpret_cast<Handle>(created);
    return result;
}

} // namespace platform::win32
