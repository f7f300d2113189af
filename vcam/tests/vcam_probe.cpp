// vcam_probe.exe: proves the virtual camera as an application sees it. Run by
// tests/e2e/test_vcam.py in a prefix registered with probe_config.txt.
//   vcam_probe.exe [--vmr9]        enumeration, binding, every property interface, the stream
//                                  configuration and a running graph (null renderer, and VMR9
//                                  with --vmr9)
//   vcam_probe.exe --state         a second process: the values the first run left are kept
//   vcam_probe.exe --unplug READY  holds camera 4 streaming, writes READY, and waits for it to
//                                  be unplugged; then every request must fail
//   vcam_probe.exe --uvc           the cameras of probe_uvc.txt (probe_uvc.cpp)
//   vcam_probe.exe --convert       the prefix's converters, and the first camera's every format
//                                  reaching an RGB24 grabber (probe_convert.cpp)
// Exit code 0 only when every check passed.
#include "probe_convert.h"
#include "probe_devices.h"
#include "probe_properties.h"
#include "probe_stream.h"
#include "probe_uvc.h"

#include <cstdio>
#include <cstring>

using namespace probe;

namespace {

const std::wstring kLongName = L"Parvanex Long " + std::wstring(290, L'x');
const std::wstring kForeignName =
    L"Parvanex \x041A\x0430\x043C\x0435\x0440\x0430 \x6771\x4EAC \x2600";
const wchar_t kOffice[] = L"Office Cam HD # not a comment: names take the whole line";

void CheckList(const char* what, const std::vector<ListedDevice>& listed,
               const std::vector<std::wstring>& names, const std::vector<std::wstring>& keys) {
    bool same = listed.size() == names.size();
    for (size_t i = 0; same && i < names.size(); ++i)
        same = listed[i].name == names[i] && FindByKey(listed, keys[i].c_str()) == &listed[i];
    Check(same, "%s lists %zu cameras in key order", what, names.size());
    for (const ListedDevice& device : listed)
        Note("%s: %s  [%zu chars] %s", what, Utf8(device.name).c_str(), device.name.size(),
             Utf8(device.displayName).c_str());
}

void CheckEnumeration() {
    CheckList("video input category", ListCategory(CLSID_VideoInputDeviceCategory),
              {L"Parvanex Virtual Camera", kLongName, kOffice, L"Parvanex Unplug Me"},
              {L"vcam00", L"vcam01", L"vcam03", L"vcam04"});
    CheckList("capture category", ListCategory(kCaptureCategory),
              {L"Parvanex Virtual Camera", kLongName, kForeignName, L"Parvanex Unplug Me"},
              {L"vcam00", L"vcam01", L"vcam02", L"vcam04"});
}

ComPtr<IBaseFilter> BindKey(const GUID& category, const wchar_t* key) {
    const auto listed = ListCategory(category);
    const ListedDevice* device = FindByKey(listed, key);
    return device ? Bind(*device) : nullptr;
}

// Camera 0 bound and released again and again, and twice at once: each binding is its own
// filter, and the state they share is the camera's.
void CheckRepeatedBinding() {
    bool all = true;
    for (int i = 0; i < 6; ++i) {
        ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam00");
        long value = 0, flags = 0;
        all = all && camera && GetBrightness(camera.Get(), &value, &flags) == S_OK;
    }
    Check(all, "camera 0 bound and released six times");
    ComPtr<IBaseFilter> a = BindKey(CLSID_VideoInputDeviceCategory, L"vcam00");
    ComPtr<IBaseFilter> b = BindKey(kCaptureCategory, L"vcam00");
    long value = 0, flags = 0;
    const bool shared = a && b && a.Get() != b.Get() && SetBrightness(a.Get(), 140) == S_OK &&
                        GetBrightness(b.Get(), &value, &flags) == S_OK && value == 140;
    Check(shared, "two bindings of camera 0 share its brightness (%ld)", value);
    SetBrightness(a.Get(), 200);
}

void CheckOtherCameras() {
    ComPtr<IBaseFilter> camera1 = BindKey(CLSID_VideoInputDeviceCategory, L"vcam01");
    Check(static_cast<bool>(camera1), "camera 1 (long name) binds");
    if (camera1) {
        ComPtr<IAMVideoProcAmp> procamp;
        camera1.As(&procamp);
        Check(procamp && procamp->Set(1, 50, 2) == static_cast<HRESULT>(0x80004005),
              "camera 1 refuses contrast sets as configured");
        Check(procamp && procamp->Set(0, 50, 2) == S_OK, "camera 1 takes brightness sets");
        HRESULT hr = S_OK;
        VendorWords(camera1.Get(), 5, 16, &hr);
        Check(hr == E_FAIL, "camera 1 refuses vendor exposure gets (0x%08lX)", hr);
        VendorWords(camera1.Get(), 7, 20, &hr);
        Check(hr == S_OK, "camera 1 answers vendor LED gets");
        Check(Logged("cam=1 procamp set id=1 value=50 flags=2 hr=0x80004005"),
              "log has camera 1's refused set");
    }
    ComPtr<IBaseFilter> camera2 = BindKey(kCaptureCategory, L"vcam02");
    long value = 0, flags = 0;
    const bool configured =
        camera2 && GetBrightness(camera2.Get(), &value, &flags) == S_OK && value == 77;
    Check(configured,
          "camera 2 (capture category only) binds with its configured brightness 77 (%ld)", value);
    ComPtr<IBaseFilter> camera3 = BindKey(CLSID_VideoInputDeviceCategory, L"vcam03");
    Check(static_cast<bool>(camera3), "camera 3 (video category only) binds");
    if (camera3) {
        ComPtr<IAMCameraControl> control;
        Check(camera3.As(&control) == E_NOINTERFACE, "camera 3 withholds IAMCameraControl");
        ComPtr<IAMVideoProcAmp> procamp;
        Check(SUCCEEDED(camera3.As(&procamp)), "camera 3 still has IAMVideoProcAmp");
        ComPtr<IPin> pin = CapturePin(camera3.Get());
        ComPtr<IAMStreamConfig> config;
        int count = 0, size = 0;
        const bool own = pin && SUCCEEDED(pin.As(&config)) &&
                         config->GetNumberOfCapabilities(&count, &size) == S_OK && count == 2;
        Check(own, "camera 3 lists its own 2 formats (%d)", count);
        Check(Logged("cam=3 query cameracontrol hr=0x80004002"), "log has the withheld query");
    }
}

int RunMain(bool vmr9) {
    CheckEnumeration();
    ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam00");
    Check(static_cast<bool>(camera), "camera 0 binds through the video input category");
    if (!camera)
        return 1;
    CLSID clsid{};
    ComPtr<IPersist> persist;
    Check(SUCCEEDED(camera.As(&persist)) && persist->GetClassID(&clsid) == S_OK,
          "the camera reports its class");
    CheckDefaults(camera.Get(), 0);
    CheckStandardRequests(camera.Get(), 0);
    CheckVendorSet(camera.Get(), 0);
    CheckRepeatedBinding();
    CheckOtherCameras();
    CheckStreamConfig(camera.Get());
    CheckGraph(camera.Get(), Renderer::Null, 200, 90);
    if (vmr9) {
        SetBrightness(camera.Get(), 160);
        ComPtr<IBaseFilter> again = BindKey(kCaptureCategory, L"vcam00");
        CheckGraph(again.Get(), Renderer::Vmr9, 160, 90);
    }
    return 0;
}

// The values the main run left behind, read by a new process.
int RunStateCheck() {
    ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam00");
    Check(static_cast<bool>(camera), "camera 0 binds in a new process");
    if (!camera)
        return 1;
    long value = 0, flags = 0;
    HRESULT hr = GetBrightness(camera.Get(), &value, &flags);
    Check(hr == S_OK && value == 90 && flags == 2, "brightness 90 kept from the last run (%ld %ld)",
          value, flags);
    Check(VendorWords(camera.Get(), 7, 20, &hr) == std::vector<int>{0, 0, 0, 2, 255},
          "LED identification kept");
    Check(VendorWords(camera.Get(), 3, 16, &hr) == std::vector<int>{0, 0, 0, 150}, "zoom kept");
    ComPtr<IAMCameraControl> control;
    camera.As(&control);
    hr = control ? control->Get(4, &value, &flags) : E_NOINTERFACE;
    Check(hr == S_OK && value == -13 && flags == 2, "exposure -13 manual kept (%ld %ld)", value,
          flags);
    return 0;
}

// Holds camera 4 streaming until it is unplugged from outside, then checks it is gone.
int RunUnplug(const char* readyFile) {
    ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam04");
    Check(static_cast<bool>(camera), "camera 4 binds");
    if (!camera)
        return 1;
    long value = 0, flags = 0;
    Check(GetBrightness(camera.Get(), &value, &flags) == S_OK, "camera 4 answers before");
    // Streaming in a graph: the camera's removal must reach the graph as EC_DEVICE_LOST.
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBaseFilter> sink;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     reinterpret_cast<void**>(graph.GetAddressOf()));
    CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                     IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(builder.GetAddressOf()));
    CoCreateInstance(kNullRendererClass, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                     reinterpret_cast<void**>(sink.GetAddressOf()));
    ComPtr<IMediaControl> media;
    ComPtr<IMediaEvent> events;
    HRESULT ran = E_FAIL;
    if (graph && builder && sink) {
        builder->SetFiltergraph(graph.Get());
        graph->AddFilter(camera.Get(), L"Camera");
        graph->AddFilter(sink.Get(), L"Renderer");
        graph.As(&media);
        graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()));
        if (builder->RenderStream(nullptr, &MEDIATYPE_Video, camera.Get(), nullptr, sink.Get()) ==
            S_OK)
            ran = media->Run();
    }
    Check(SUCCEEDED(ran), "camera 4 streams to a null renderer (0x%08lX)", ran);
    FILE* ready = std::fopen(readyFile, "w");
    if (ready)
        std::fclose(ready);
    const DWORD start = GetTickCount();
    HRESULT hr = S_OK;
    while ((hr = GetBrightness(camera.Get(), &value, &flags)) == S_OK &&
           GetTickCount() - start < 30000)
        Sleep(100);
    Check(hr == kDeviceGone, "after unplugging, brightness gets fail (0x%08lX, %lu ms)", hr,
          GetTickCount() - start);
    Check(SetBrightness(camera.Get(), 100) == kDeviceGone, "brightness sets fail");
    ComPtr<IAMCameraControl> control;
    camera.As(&control);
    Check(control && control->Get(4, &value, &flags) == kDeviceGone, "camera control fails");
    VendorWords(camera.Get(), 7, 20, &hr);
    Check(hr == kDeviceGone, "vendor gets fail (0x%08lX)", hr);
    Check(SetVendorWords(camera.Get(), 7, {0, 0, 0, 1, 0}) == kDeviceGone, "vendor sets fail");
    ComPtr<IPin> pin = CapturePin(camera.Get());
    ComPtr<IAMStreamConfig> config;
    AM_MEDIA_TYPE* type = nullptr;
    Check(pin && SUCCEEDED(pin.As(&config)) && config->GetFormat(&type) == kDeviceGone,
          "stream configuration fails");
    Check(camera->Run(0) == kDeviceGone, "Run fails");
    const auto video = ListCategory(CLSID_VideoInputDeviceCategory);
    const auto capture = ListCategory(kCaptureCategory);
    Check(!FindByKey(video, L"vcam04") && !FindByKey(capture, L"vcam04") &&
              FindByKey(video, L"vcam00") && FindByKey(capture, L"vcam00"),
          "camera 4 is no longer listed; camera 0 still is");
    Check(Logged("cam=4 procamp get id=0 hr=0x8007048F"), "log has the failed get");
    // The filter's notice (its log line), and what the graph hands on to GetEvent.
    const DWORD waited = GetTickCount();
    while (!Logged("cam=4 event device-lost") && GetTickCount() - waited < 5000)
        Sleep(50);
    Check(Logged("cam=4 event device-lost hr=0x00000000"),
          "the filter sent EC_DEVICE_LOST to the graph's IMediaEventSink");
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    bool lost = false;
    while (events && !lost && events->GetEvent(&code, &param1, &param2, 500) == S_OK) {
        lost = code == EC_DEVICE_LOST;
        Note("graph event 0x%lX param1=%p param2=%ld", code, reinterpret_cast<void*>(param1),
             static_cast<long>(param2));
        if (lost)
            Check(param2 == 0, "EC_DEVICE_LOST reaches IMediaEvent::GetEvent with param2 0");
        events->FreeEventParams(code, param1, param2);
    }
    if (!lost)
        Note("EC_DEVICE_LOST did not reach IMediaEvent::GetEvent");
    if (media)
        media->Stop();
    if (graph) {
        graph->RemoveFilter(sink.Get());
        graph->RemoveFilter(camera.Get());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool mta = argc > 1 && std::strcmp(argv[argc - 1], "--mta") == 0;
    CoInitializeEx(nullptr, mta ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED);
    int early = 0;
    if (argc > 1 && std::strcmp(argv[1], "--state") == 0)
        early = RunStateCheck();
    else if (argc > 1 && std::strcmp(argv[1], "--uvc") == 0)
        early = RunUvc();
    else if (argc > 1 && std::strcmp(argv[1], "--convert") == 0)
        early = RunConvert();
    else if (argc > 2 && std::strcmp(argv[1], "--unplug") == 0)
        early = RunUnplug(argv[2]);
    else
        early = RunMain(argc > 1 && std::strcmp(argv[1], "--vmr9") == 0);
    std::printf("%d checks, %d failed\n", Checks(), Failures());
    CoUninitialize();
    return early || Failures() ? 1 : 0;
}
