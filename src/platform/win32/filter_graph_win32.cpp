// The filter graph, its interfaces and the filters the preview adds to it.
#include "platform/win32/graph_handles_win32.h"
#include "platform/win32/guids_win32.h"

#include <string>

namespace platform {

HResult CreateFilterGraph(GraphObject* out) {
    return win32::CreateInto(CLSID_FilterGraph, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                             IID_IUnknown, out);
}

HResult QueryFilterGraph(GraphObject graph, FilterGraph* out) {
    return win32::QueryInto(win32::ToUnknown(graph), IID_IFilterGraph, out);
}

HResult QueryGraphBuilder(GraphObject graph, GraphBuilder* out) {
    return win32::QueryInto(win32::ToUnknown(graph), IID_IGraphBuilder, out);
}

HResult QueryMediaControl(GraphObject graph, MediaControl* out) {
    return win32::QueryInto(win32::ToUnknown(graph), IID_IMediaControl, out);
}

HResult QueryVideoWindow(GraphBuilder builder, VideoWindow* out) {
    return win32::QueryInto(win32::ToGraphBuilder(builder), IID_IVideoWindow, out);
}

HResult CreateCaptureBuilder(CaptureBuilder* out) {
    return win32::CreateInto(CLSID_CaptureGraphBuilder2, CLSCTX_INPROC_SERVER,
                             IID_ICaptureGraphBuilder2, out);
}

HResult CreateSampleGrabber(Filter* out) {
    return win32::CreateInto(win32::kSampleGrabberClass, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                             out);
}

HResult QuerySampleGrabber(Filter filter, SampleGrabber* out) {
    return win32::QueryInto(win32::ToFilter(filter), win32::kSampleGrabberInterface, out);
}

HResult CreateVideoRenderer(Filter* out) {
    return win32::CreateInto(win32::kVideoMixingRenderer9Class, CLSCTX_INPROC_SERVER,
                             IID_IBaseFilter, out);
}

HResult CreateNullRenderer(Filter* out) {
    return win32::CreateInto(win32::kNullRendererClass, CLSCTX_INPROC_SERVER, IID_IBaseFilter, out);
}

HResult AddFilterToGraph(FilterGraph graph, Filter filter, const char* name) {
    // The names the tool gives are plain ASCII, so widening each character is exact.
    std::wstring wide;
    for (const char* c = name; c && *c; ++c)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return win32::ToFilterGraph(graph)->AddFilter(win32::ToFilter(filter), wide.c_str());
}

HResult GraphRun(MediaControl control) {
    return win32::ToMediaControl(control)->Run();
}

HResult FilterPause(Filter filter) {
    return win32::ToFilter(filter)->Pause();
}

HResult FilterStop(Filter filter) {
    return win32::ToFilter(filter)->Stop();
}

HResult GraphStop(MediaControl control) {
    return win32::ToMediaControl(control)->Stop();
}

HResult GraphState(MediaControl control, int32_t timeoutMs, int32_t* state) {
    OAFilterState current = State_Stopped;
    const HRESULT result = win32::ToMediaControl(control)->GetState(timeoutMs, &current);
    *state = static_cast<int32_t>(current);
    return result;
}

void Release(GraphObject graph) {
    win32::ToUnknown(graph)->Release();
}

void Release(FilterGraph graph) {
    win32::ToFilterGraph(graph)->Release();
}

void Release(GraphBuilder builder) {
    win32::ToGraphBuilder(builder)->Release();
}

void Release(MediaControl control) {
    win32::ToMediaControl(control)->Release();
}

} // namespace platform

namespace platform {

HResult QueryMediaEvent(MediaControl control, MediaEvent* out) {
    return win32::QueryInto(win32::ToMediaControl(control), IID_IMediaEventEx, out);
}

HResult NextGraphEvent(MediaEvent events, int32_t* code, intptr_t* param2) {
    IMediaEventEx* queue = reinterpret_cast<IMediaEventEx*>(events);
    long eventCode = 0;
    LONG_PTR first = 0, second = 0;
    const HRESULT result = queue->GetEvent(&eventCode, &first, &second, 0);
    if (FAILED(result))
        return result;
    *code = static_cast<int32_t>(eventCode);
    *param2 = static_cast<intptr_t>(second);
    // The parameters may hold references (EC_DEVICE_LOST's first one is the filter's IUnknown).
    queue->FreeEventParams(eventCode, first, second);
    return result;
}

void Release(MediaEvent events) {
    reinterpret_cast<IMediaEventEx*>(events)->Release();
}

} // namespace platform
