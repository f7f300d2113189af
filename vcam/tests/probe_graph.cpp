#include "probe_graph.h"

#include <uuids.h>

namespace probe {
namespace {

template <typename T> HRESULT Create(const GUID& clsid, REFIID iid, ComPtr<T>& out) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                            reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()));
}

} // namespace

void FreeType(AM_MEDIA_TYPE* type) {
    if (!type)
        return;
    if (type->cbFormat)
        CoTaskMemFree(type->pbFormat);
    CoTaskMemFree(type);
}

Graph::~Graph() {
    if (control)
        control->Stop();
    if (graph && camera)
        graph->RemoveFilter(camera.Get());
}

HRESULT BuildGraph(Graph& g, IBaseFilter* camera, const GUID& subtype) {
    HRESULT hr = Create(CLSID_FilterGraph, IID_IGraphBuilder, g.graph);
    if (SUCCEEDED(hr))
        hr = Create(CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2, g.builder);
    if (SUCCEEDED(hr))
        hr = Create(kSampleGrabberClass, IID_IBaseFilter, g.grabberFilter);
    if (SUCCEEDED(hr))
        hr = Create(kNullRendererClass, IID_IBaseFilter, g.sink);
    if (SUCCEEDED(hr))
        hr = g.grabberFilter->QueryInterface(kSampleGrabberInterface,
                                             reinterpret_cast<void**>(g.grabber.GetAddressOf()));
    if (FAILED(hr) || !camera)
        return FAILED(hr) ? hr : E_POINTER;
    g.builder->SetFiltergraph(g.graph.Get());
    g.graph.As(&g.control);
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = subtype;
    g.grabber->SetMediaType(&wanted);
    g.grabber->SetBufferSamples(TRUE);
    g.graph->AddFilter(g.grabberFilter.Get(), L"Grabber");
    g.graph->AddFilter(g.sink.Get(), L"Renderer");
    g.camera = camera;
    g.graph->AddFilter(camera, L"Camera");
    return g.builder->RenderStream(nullptr, &MEDIATYPE_Video, camera, g.grabberFilter.Get(),
                                   g.sink.Get());
}

std::vector<unsigned char> GrabLater(ISampleGrabber* grabber, DWORD waitMs) {
    const DWORD start = GetTickCount();
    long size = 0;
    while ((grabber->GetCurrentBuffer(&size, nullptr) != S_OK || size <= 0) &&
           GetTickCount() - start < waitMs)
        Sleep(20);
    Sleep(200); // a later frame, not the first
    // A JPEG frame's length changes from frame to frame: room for a longer one, cut to the
    // length copied.
    if (size <= 0 || grabber->GetCurrentBuffer(&size, nullptr) != S_OK)
        return {};
    std::vector<unsigned char> frame(static_cast<size_t>(size) * 2);
    size = static_cast<long>(frame.size());
    if (grabber->GetCurrentBuffer(&size, reinterpret_cast<long*>(frame.data())) != S_OK)
        return {};
    frame.resize(static_cast<size_t>(size));
    return frame;
}

ComPtr<IPin> CapturePin(IBaseFilter* camera) {
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IPin> pin;
    if (SUCCEEDED(Create(CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2, builder)))
        builder->FindPin(camera, PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, nullptr, FALSE, 0,
                         pin.GetAddressOf());
    return pin;
}

} // namespace probe
