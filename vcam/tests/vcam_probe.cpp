// vcam_probe.exe: proves the virtual camera as an application sees it, where no scenario of the
// tool does. Run by tests/e2e/test_vcam.py.
//   vcam_probe.exe                 the cameras of probe_config.txt: enumeration in both
//                                  categories, every property interface, configured refusals
//   vcam_probe.exe --unplug READY  holds camera 4 streaming, writes READY, and waits for it to
//                                  be unplugged; then every request must fail
//   vcam_probe.exe --uvc FOLDER    the cameras of probe_uvc.txt (probe_uvc.cpp)
// Exit code 0 only when every check passed.
#include "probe_devices.h"
#include "probe_graph.h"
#include "probe_properties.h"
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
    Check(same, "%s lists %zu cameras in key order, whole names (listed %zu)", what, names.size(),
          listed.size());
}

// The answer of one request to a configured camera: an HRESULT, or the value read.
struct CameraCase {
    const GUID& category;
    const wchar_t* key;
    long (*ask)(IBaseFilter* camera);
    long expected;
    const char* what;
};

long ProcAmpSet(IBaseFilter* camera, long id) {
    ComPtr<IAMVideoProcAmp> procamp;
    const HRESULT hr = camera->QueryInterface(IID_IAMVideoProcAmp,
                                              reinterpret_cast<void**>(procamp.GetAddressOf()));
    return FAILED(hr) ? hr : procamp->Set(id, 50, 2);
}

long VendorGet(IBaseFilter* camera, DWORD id, DWORD size) {
    HRESULT hr = S_OK;
    VendorWords(camera, id, size, &hr);
    return hr;
}

long Withheld(IBaseFilter* camera, REFIID iid) {
    ComPtr<IUnknown> out;
    return camera->QueryInterface(iid, reinterpret_cast<void**>(out.GetAddressOf()));
}

const CameraCase kCameraCases[] = {
    {CLSID_VideoInputDeviceCategory, L"vcam01", [](IBaseFilter* c) { return ProcAmpSet(c, 1); },
     static_cast<long>(0x80004005), "camera 1 refuses contrast sets as configured"},
    {CLSID_VideoInputDeviceCategory, L"vcam01", [](IBaseFilter* c) { return ProcAmpSet(c, 0); },
     S_OK, "camera 1 takes brightness sets"},
    {CLSID_VideoInputDeviceCategory, L"vcam01", [](IBaseFilter* c) { return VendorGet(c, 5, 16); },
     E_FAIL, "camera 1 refuses vendor exposure gets"},
    {CLSID_VideoInputDeviceCategory, L"vcam01", [](IBaseFilter* c) { return VendorGet(c, 7, 20); },
     S_OK, "camera 1 answers vendor LED gets"},
    {kCaptureCategory, L"vcam02",
     [](IBaseFilter* c) {
         long value = 0, flags = 0;
         const HRESULT hr = GetBrightness(c, &value, &flags);
         return hr == S_OK && flags == 2 ? value : hr;
     },
     77, "camera 2 (capture category only) starts at its configured brightness 77 manual"},
    {CLSID_VideoInputDeviceCategory, L"vcam03",
     [](IBaseFilter* c) { return Withheld(c, IID_IAMCameraControl); }, E_NOINTERFACE,
     "camera 3 withholds IAMCameraControl"},
    {CLSID_VideoInputDeviceCategory, L"vcam03",
     [](IBaseFilter* c) { return Withheld(c, IID_IAMVideoProcAmp); }, S_OK,
     "camera 3 still has IAMVideoProcAmp"},
};

int RunMain() {
    CheckList("video input category", ListCategory(CLSID_VideoInputDeviceCategory),
              {L"Parvanex Virtual Camera", kLongName, kOffice, L"Parvanex Unplug Me"},
              {L"vcam00", L"vcam01", L"vcam03", L"vcam04"});
    CheckList("capture category", ListCategory(kCaptureCategory),
              {L"Parvanex Virtual Camera", kLongName, kForeignName, L"Parvanex Unplug Me"},
              {L"vcam00", L"vcam01", L"vcam02", L"vcam04"});
    ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam00");
    Check(static_cast<bool>(camera), "camera 0 binds through the video input category");
    if (!camera)
        return 1;
    CLSID clsid{};
    ComPtr<IPersist> persist;
    Check(SUCCEEDED(camera.As(&persist)) && persist->GetClassID(&clsid) == S_OK,
          "the camera reports its class");
    CheckProperties(camera.Get());
    for (const CameraCase& c : kCameraCases) {
        ComPtr<IBaseFilter> other = BindKey(c.category, c.key);
        const long got = other ? c.ask(other.Get()) : E_POINTER;
        Check(got == c.expected, "%s: 0x%08lX (expected 0x%08lX)", c.what, got, c.expected);
    }
    return 0;
}

// What an unplugged camera answers: every interface fails as a removed device does (the camera
// control's requests go where the brightness get below goes).
const struct {
    const char* what;
    HRESULT (*ask)(IBaseFilter* camera);
} kGoneRequests[] = {
    {"vendor get", [](IBaseFilter* c) { return static_cast<HRESULT>(VendorGet(c, 7, 20)); }},
    {"vendor set",
     [](IBaseFilter* c) {
         return SetVendorWords(c, 7, {0, 0, 0, 1, 0});
     }},
    {"stream configuration GetFormat",
     [](IBaseFilter* c) {
         ComPtr<IPin> pin = CapturePin(c);
         ComPtr<IAMStreamConfig> config;
         AM_MEDIA_TYPE* type = nullptr;
         HRESULT hr = pin ? pin.As(&config) : E_NOINTERFACE;
         return FAILED(hr) ? hr : config->GetFormat(&type);
     }},
};

// Holds camera 4 streaming until it is unplugged from outside, then checks it is gone.
int RunUnplug(const char* readyFile) {
    ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam04");
    Check(static_cast<bool>(camera), "camera 4 binds");
    if (!camera)
        return 1;
    // Streaming in a graph: the camera's removal must reach the graph as EC_DEVICE_LOST.
    Graph g;
    HRESULT hr = BuildGraph(g, camera.Get(), MEDIASUBTYPE_RGB24);
    ComPtr<IMediaEvent> events;
    if (hr == S_OK) {
        g.graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()));
        hr = g.control->Run();
    }
    Check(SUCCEEDED(hr), "camera 4 streams to a null renderer (0x%08lX)", hr);
    if (FILE* ready = std::fopen(readyFile, "w"))
        std::fclose(ready);
    const DWORD start = GetTickCount();
    long value = 0, flags = 0;
    while ((hr = GetBrightness(camera.Get(), &value, &flags)) == S_OK &&
           GetTickCount() - start < 30000)
        Sleep(100);
    Check(hr == kDeviceGone, "after unplugging, brightness gets fail (0x%08lX, %lu ms)", hr,
          GetTickCount() - start);
    for (const auto& request : kGoneRequests) {
        hr = request.ask(camera.Get());
        Check(hr == kDeviceGone, "%s fails: 0x%08lX", request.what, hr);
    }
    long code = 0, seen = 0;
    LONG_PTR param1 = 0, param2 = -1;
    bool lost = false;
    // Asked again until a deadline: under Wine, GetEvent on an empty queue came back at once
    // instead of waiting, when the brightness get saw the removal before the streamer did.
    for (const DWORD since = GetTickCount(); events && !lost && GetTickCount() - since < 5000;) {
        if (events->GetEvent(&code, &param1, &param2, 20) != S_OK) {
            Sleep(20);
            continue;
        }
        lost = code == EC_DEVICE_LOST && param2 == 0;
        seen = code;
        events->FreeEventParams(code, param1, param2);
    }
    Check(lost, "EC_DEVICE_LOST with param2 0 reaches IMediaEvent::GetEvent (last event 0x%lX)",
          seen);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int early = 0;
    if (argc > 2 && std::strcmp(argv[1], "--uvc") == 0)
        early = RunUvc(argv[2]);
    else if (argc > 2 && std::strcmp(argv[1], "--unplug") == 0)
        early = RunUnplug(argv[2]);
    else
        early = RunMain();
    std::printf("%d checks, %d failed\n", Checks(), Failures());
    CoUninitialize();
    return early || Failures() ? 1 : 0;
}
