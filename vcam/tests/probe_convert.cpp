#include "probe_convert.h"

#include "probe_devices.h"
#include "probe_graph.h"
#include "probe_pattern.h"
#include "probe_properties.h"
#include "probe_stream.h"

#include <dmoreg.h>
#include <uuids.h>

namespace probe {
namespace {

std::string SubtypeText(const GUID& subtype) {
    if (subtype == MEDIASUBTYPE_YUY2)
        return "YUY2";
    if (subtype == MEDIASUBTYPE_MJPG)
        return "MJPG";
    if (subtype == MEDIASUBTYPE_NV12)
        return "NV12";
    if (subtype == MEDIASUBTYPE_RGB24)
        return "RGB24";
    wchar_t text[64];
    StringFromGUID2(subtype, text, 64);
    return Utf8(text);
}

void ListDmos(const GUID& category, const char* what) {
    ComPtr<IEnumDMO> dmos;
    if (FAILED(DMOEnum(category, 0, 0, nullptr, 0, nullptr, dmos.GetAddressOf())) || !dmos) {
        Note("%s: DMOEnum failed", what);
        return;
    }
    CLSID clsid;
    WCHAR* name = nullptr;
    while (dmos->Next(1, &clsid, &name, nullptr) == S_OK) {
        Note("%s: %s", what, Utf8(name ? name : L"").c_str());
        CoTaskMemFree(name);
    }
}

// The filters Intelligent Connect would try for that input type (any output), by merit.
void ListMatching(const GUID& input) {
    ComPtr<IFilterMapper2> mapper;
    if (FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFilterMapper2,
                                reinterpret_cast<void**>(mapper.GetAddressOf()))))
        return;
    const GUID types[2] = {MEDIATYPE_Video, input};
    ComPtr<IEnumMoniker> found;
    const HRESULT hr = mapper->EnumMatchingFilters(
        found.GetAddressOf(), 0, FALSE, MERIT_DO_NOT_USE + 1, TRUE, 1, types, nullptr, nullptr,
        FALSE, FALSE, 0, nullptr, nullptr, nullptr);
    int count = 0;
    ComPtr<IMoniker> moniker;
    while (SUCCEEDED(hr) && found &&
           found->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        VARIANT name;
        VariantInit(&name);
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                             reinterpret_cast<void**>(bag.GetAddressOf()))) &&
            SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR)
            Note("filters taking video %s: %s", SubtypeText(input).c_str(),
                 Utf8(name.bstrVal).c_str());
        VariantClear(&name);
        ++count;
    }
    Note("filters taking video %s: %d (EnumMatchingFilters 0x%08lX)", SubtypeText(input).c_str(),
         count, hr);
}

std::string FiltersOf(IGraphBuilder* graph) {
    std::string names;
    ComPtr<IEnumFilters> filters;
    ComPtr<IBaseFilter> filter;
    if (FAILED(graph->EnumFilters(filters.GetAddressOf())))
        return names;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        FILTER_INFO info{};
        if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
            names += (names.empty() ? "" : ", ") + Utf8(info.achName);
            if (info.pGraph)
                info.pGraph->Release();
        }
    }
    return names;
}

// Capability `index` set, the graph built with RenderStream and, when it connected, one frame
// compared with the pattern.
void CheckCapability(IBaseFilter* camera, IAMStreamConfig* config, int index) {
    AM_MEDIA_TYPE* type = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps{};
    if (config->GetStreamCaps(index, &type, reinterpret_cast<BYTE*>(&caps)) != S_OK)
        return;
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
    const long width = info->bmiHeader.biWidth, height = info->bmiHeader.biHeight;
    const std::string what =
        SubtypeText(type->subtype) + " " + std::to_string(width) + "x" + std::to_string(height);
    const bool jpeg = type->subtype == MEDIASUBTYPE_MJPG;
    const HRESULT set = config->SetFormat(type);
    FreeType(type);
    Graph g;
    if (set != S_OK || !MakeGraph(g, MEDIASUBTYPE_RGB24)) {
        Check(false, "%s: set (0x%08lX) and graph made", what.c_str(), set);
        return;
    }
    g.graph->AddFilter(camera, L"Camera");
    const HRESULT hr = g.builder->RenderStream(nullptr, &MEDIATYPE_Video, camera,
                                               g.grabberFilter.Get(), g.sink.Get());
    Check(hr == S_OK, "%s -> RGB24 grabber: RenderStream 0x%08lX, filters: %s", what.c_str(), hr,
          FiltersOf(g.graph.Get()).c_str());
    if (hr == S_OK) {
        ComPtr<IMediaControl> control;
        g.graph.As(&control);
        control->Run();
        const std::vector<unsigned char> frame = GrabLater(g.grabber.Get(), 10000);
        // YUV quantisation moves a channel by a few levels; JPEG rings near edges.
        const FrameVerdict v = VerifyFrameNear(frame.data(), static_cast<long>(frame.size()), width,
                                               height, 150, jpeg ? 12 : 4, jpeg ? 8 : 0);
        Check(v.matches, "%s frame %u in RGB24 matches the pattern (%ld wrong, first at %ld,%ld)",
              what.c_str(), v.frameNumber, v.wrongPixels, v.firstWrongX, v.firstWrongY);
        control->Stop();
    }
    g.graph->RemoveFilter(camera);
}

} // namespace

int RunConvert() {
    int legacy = 0;
    for (const ListedDevice& filter : ListCategory(CLSID_LegacyAmFilterCategory)) {
        Note("DirectShow filter: %s", Utf8(filter.name).c_str());
        ++legacy;
    }
    Note("%d filters in CLSID_LegacyAmFilterCategory", legacy);
    ListDmos(DMOCATEGORY_VIDEO_DECODER, "DMO video decoder");
    ListDmos(DMOCATEGORY_VIDEO_EFFECT, "DMO video effect");
    ListMatching(MEDIASUBTYPE_YUY2);
    ListMatching(MEDIASUBTYPE_NV12);
    ListMatching(MEDIASUBTYPE_MJPG);

    const auto listed = ListCategory(CLSID_VideoInputDeviceCategory);
    ComPtr<IBaseFilter> camera = listed.empty() ? nullptr : Bind(listed[0]);
    ComPtr<IPin> pin = camera ? CapturePin(camera.Get()) : nullptr;
    ComPtr<IAMStreamConfig> config;
    Check(pin && SUCCEEDED(pin.As(&config)), "the first camera binds and has IAMStreamConfig");
    if (!config)
        return 1;
    SetBrightness(camera.Get(), 150);
    int count = 0, size = 0;
    config->GetNumberOfCapabilities(&count, &size);
    for (int i = 0; i < count; ++i)
        CheckCapability(camera.Get(), config.Get(), i);
    return 0;
}

} // namespace probe
