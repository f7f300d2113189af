// The sample grabber, which keeps the latest frame for the still images.
#include "platform/win32/graph_handles_win32.h"
#include "platform/win32/resource_counts_win32.h"

namespace platform {

HResult GrabberSetMediaType(SampleGrabber grabber, const MediaType& type) {
    return win32::ToGrabber(grabber)->SetMediaType(win32::ToMediaType(&type));
}

HResult GrabberSetBufferSamples(SampleGrabber grabber, bool buffer) {
    return win32::ToGrabber(grabber)->SetBufferSamples(buffer ? TRUE : FALSE);
}

HResult GrabberCurrentBuffer(SampleGrabber grabber, int32_t* size, void* buffer) {
    // The size is in and out: the buffer's capacity going in, the sample's size coming back.
    long bytes = *size;
    const HRESULT result =
        win32::ToGrabber(grabber)->GetCurrentBuffer(&bytes, static_cast<long*>(buffer));
    *size = static_cast<int32_t>(bytes);
    return result;
}

HResult GrabberConnectedMediaType(SampleGrabber grabber, MediaType* type) {
    const HRESULT result =
        win32::ToGrabber(grabber)->GetConnectedMediaType(win32::ToMediaType(type));
    if (SUCCEEDED(result)) {
        win32::CountBlockOwned(type->format);
        win32::CountUnknownOwned(type->unknown);
    }
    return result;
}

void Release(SampleGrabber grabber) {
    win32::ToGrabber(grabber)->Release();
}

} // namespace platform
