// The capture graph builder: it finds the camera's capture pin and connects the preview chain.
#include "platform/win32/graph_handles_win32.h"

namespace platform {

HResult CaptureBuilderSetGraph(CaptureBuilder builder, GraphBuilder graph) {
    return win32::ToCaptureBuilder(builder)->SetFiltergraph(win32::ToGraphBuilder(graph));
}

HResult FindCaptureStreamConfig(CaptureBuilder builder, Filter filter, StreamConfig* out) {
    void* found = nullptr;
    const HRESULT result = win32::ToCaptureBuilder(builder)->FindInterface(
        &PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, win32::ToFilter(filter), IID_IAMStreamConfig,
        &found);
    if (SUCCEEDED(result) && found)
        *out = reinterpret_cast<StreamConfig>(found);
    return result;
}

HResult RenderVideoStream(CaptureBuilder builder, Filter source, Filter intermediate, Filter sink) {
    // No pin category: with one, the builder puts a smart tee between camera and grabber.
    return win32::ToCaptureBuilder(builder)->RenderStream(
        nullptr, &MEDIATYPE_Video, win32::ToFilter(source), win32::ToFilter(intermediate),
        win32::ToFilter(sink));
}

void Release(CaptureBuilder builder) {
    win32::ToCaptureBuilder(builder)->Release();
}

} // namespace platform
