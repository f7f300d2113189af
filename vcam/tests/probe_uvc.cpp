#include "probe_uvc.h"

#include "probe_devices.h"
#include "probe_graph.h"
#include "probe_pattern.h"
#include "probe_properties.h"
#include "probe_stream.h"

#include <qedit.h>
#include <uuids.h>

#include <vector>

namespace probe {
namespace {

const wchar_t kUsbPath1[] = L"\\\\?\\usb#vid_1234&pid_5678&mi_00#7&1a2b3c4d&0&0001#"
                            L"{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
const wchar_t kBusyPath[] = L"\\\\?\\usb#vid_abcd&pid_0001&mi_00#8&2b&0&0000#"
                            L"{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";

std::wstring DevicePath(const GUID& category, const wchar_t* key, bool* present) {
    *present = false;
    const auto listed = ListCategory(category);
    const ListedDevice* device = FindByKey(listed, key);
    if (!device)
        return {};
    ComPtr<IPropertyBag> bag;
    device->moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                   reinterpret_cast<void**>(bag.GetAddressOf()));
    VARIANT value;
    VariantInit(&value);
    std::wstring path;
    if (bag && SUCCEEDED(bag->Read(L"DevicePath", &value, nullptr)) && value.vt == VT_BSTR) {
        path = value.bstrVal;
        *present = true;
    }
    VariantClear(&value);
    return path;
}

ComPtr<IBaseFilter> BindKey(const GUID& category, const wchar_t* key) {
    const auto listed = ListCategory(category);
    const ListedDevice* device = FindByKey(listed, key);
    return device ? Bind(*device) : nullptr;
}

void CheckDevicePaths() {
    bool inVideo = false, inCapture = false, busy = false, none = true;
    const std::wstring video = DevicePath(CLSID_VideoInputDeviceCategory, L"vcam01", &inVideo);
    const std::wstring capture = DevicePath(kCaptureCategory, L"vcam01", &inCapture);
    Check(inVideo && inCapture && video == capture && video == kUsbPath1,
          "camera 1 has the same USB DevicePath in both categories (%s)", Utf8(video).c_str());
    Check(DevicePath(kCaptureCategory, L"vcam02", &busy) == kBusyPath && busy,
          "device-path overrides camera 2's");
    DevicePath(kCaptureCategory, L"vcam03", &none);
    Check(!none, "no-device-path leaves camera 3 without one");
}

// One SetFormat request: capability `index`'s own type with one change.
struct FormatCase {
    const char* what;
    int index;
    void (*change)(AM_MEDIA_TYPE* type, VIDEOINFOHEADER* info);
    HRESULT expected;
};

const FormatCase kFormatCases[] = {
    {"capability's own YUY2 1920x1080 at 5 fps", 1, [](AM_MEDIA_TYPE*, VIDEOINFOHEADER*) {}, S_OK},
    {"YUY2 640x480 at 5 fps (the range's slow end)", 2,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) { i->AvgTimePerFrame = 2000000; }, S_OK},
    {"YUY2 640x480 with biSizeImage 0", 2,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) { i->bmiHeader.biSizeImage = 0; }, S_OK},
    {"YUY2 1920x1080 at 30 fps (only 5 listed)", 1,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) { i->AvgTimePerFrame = 333333; },
     VFW_E_INVALIDMEDIATYPE},
    {"YUY2 640x480 at 60 fps", 2,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) { i->AvgTimePerFrame = 166666; },
     VFW_E_INVALIDMEDIATYPE},
    {"subtype RGB24 at a YUY2 size", 2,
     [](AM_MEDIA_TYPE* t, VIDEOINFOHEADER*) { t->subtype = MEDIASUBTYPE_RGB24; },
     VFW_E_INVALIDMEDIATYPE},
    {"RGB24 with BI_RGB and 24 bits (no RGB24 listed)", 2,
     [](AM_MEDIA_TYPE* t, VIDEOINFOHEADER* i) {
         t->subtype = MEDIASUBTYPE_RGB24;
         i->bmiHeader.biCompression = BI_RGB;
         i->bmiHeader.biBitCount = 24;
     },
     VFW_E_INVALIDMEDIATYPE},
    {"YUY2 subtype with biCompression MJPG", 2,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) {
         i->bmiHeader.biCompression = MAKEFOURCC('M', 'J', 'P', 'G');
     },
     VFW_E_INVALIDMEDIATYPE},
    {"YUY2 with biBitCount 24", 2,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) { i->bmiHeader.biBitCount = 24; },
     VFW_E_INVALIDMEDIATYPE},
    {"YUY2 800x600 (not listed)", 2,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) {
         i->bmiHeader.biWidth = 800;
         i->bmiHeader.biHeight = 600;
     },
     VFW_E_INVALIDMEDIATYPE},
    {"YUY2 1920x1080 with 640x480's biSizeImage", 1,
     [](AM_MEDIA_TYPE*, VIDEOINFOHEADER* i) { i->bmiHeader.biSizeImage = 640 * 480 * 2; },
     VFW_E_INVALIDMEDIATYPE},
    {"major type audio", 2,
     [](AM_MEDIA_TYPE* t, VIDEOINFOHEADER*) { t->majortype = MEDIATYPE_Audio; },
     VFW_E_INVALIDMEDIATYPE},
    {"format type VideoInfo2", 2,
     [](AM_MEDIA_TYPE* t, VIDEOINFOHEADER*) { t->formattype = FORMAT_VideoInfo2; },
     VFW_E_INVALIDMEDIATYPE},
};

void CheckStrictSetFormat(IAMStreamConfig* config) {
    AM_MEDIA_TYPE* current = nullptr;
    const bool got = config->GetFormat(&current) == S_OK && current->subtype == MEDIASUBTYPE_YUY2;
    const auto* info = got ? reinterpret_cast<VIDEOINFOHEADER*>(current->pbFormat) : nullptr;
    Check(info && info->bmiHeader.biWidth == 640 && info->bmiHeader.biHeight == 480,
          "camera 1 starts in its current-format, YUY2 640x480");
    FreeType(current);
    for (const FormatCase& c : kFormatCases) {
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        HRESULT hr = config->GetStreamCaps(c.index, &type, reinterpret_cast<BYTE*>(&caps));
        if (hr == S_OK) {
            c.change(type, reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat));
            hr = config->SetFormat(type);
        }
        Check(hr == c.expected, "SetFormat %s: 0x%08lX (expected 0x%08lX)", c.what, hr, c.expected);
        FreeType(type);
    }
}

void CheckYuvStream(IBaseFilter* camera, IAMStreamConfig* config, int capability,
                    const GUID& subtype, const char* name) {
    SetBrightness(camera, 150); // the state file keeps the first run's values per index
    AM_MEDIA_TYPE* type = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps{};
    config->GetStreamCaps(capability, &type, reinterpret_cast<BYTE*>(&caps));
    const HRESULT set = type ? config->SetFormat(type) : E_FAIL;
    FreeType(type);
    Graph g;
    const bool made = set == S_OK && MakeGraph(g, subtype);
    g.graph->AddFilter(camera, L"Camera");
    const HRESULT hr = made ? g.builder->RenderStream(nullptr, &MEDIATYPE_Video, camera,
                                                      g.grabberFilter.Get(), g.sink.Get())
                            : E_FAIL;
    Check(hr == S_OK, "%s 640x480: set and connected to a grabber of that subtype (0x%08lX)", name,
          hr);
    if (hr != S_OK) {
        g.graph->RemoveFilter(camera);
        return;
    }
    ComPtr<IMediaControl> control;
    g.graph.As(&control);
    control->Run();
    const std::vector<unsigned char> frame = GrabLater(g.grabber.Get(), 5000);
    const FrameVerdict v = VerifyYuvFrame(frame.data(), static_cast<long>(frame.size()), 640, 480,
                                          150, subtype == MEDIASUBTYPE_NV12);
    Check(v.matches,
          "%s frame %u matches the pattern in BT.601 limited range (%ld wrong, first "
          "at %ld,%ld)",
          name, v.frameNumber, v.wrongPixels, v.firstWrongX, v.firstWrongY);
    control->Stop();
    g.graph->RemoveFilter(camera);
}

// Camera 1's MJPG 1920x1080 into a grabber of that subtype: each sample one baseline JPEG no
// longer than the format's biSizeImage. The frame goes to VCAM_PROBE_JPEG, which test_vcam.py
// decodes with djpeg and compares with the pattern.
void CheckJpegStream(IBaseFilter* camera, IAMStreamConfig* config) {
    AM_MEDIA_TYPE* type = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps{};
    config->GetStreamCaps(0, &type, reinterpret_cast<BYTE*>(&caps));
    const long room =
        type ? static_cast<long>(
                   reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader.biSizeImage)
             : 0;
    const HRESULT set =
        type && type->subtype == MEDIASUBTYPE_MJPG ? config->SetFormat(type) : E_FAIL;
    FreeType(type);
    Graph g;
    const bool made = set == S_OK && MakeGraph(g, MEDIASUBTYPE_MJPG);
    if (made)
        g.graph->AddFilter(camera, L"Camera");
    const HRESULT hr = made ? g.builder->RenderStream(nullptr, &MEDIATYPE_Video, camera,
                                                      g.grabberFilter.Get(), g.sink.Get())
                            : E_FAIL;
    Check(hr == S_OK, "MJPG 1920x1080: set and connected to an MJPG grabber (0x%08lX)", hr);
    if (hr != S_OK) {
        if (made)
            g.graph->RemoveFilter(camera);
        return;
    }
    ComPtr<IMediaControl> control;
    g.graph.As(&control);
    control->Run();
    const std::vector<unsigned char> frame = GrabLater(g.grabber.Get(), 5000);
    control->Stop();
    g.graph->RemoveFilter(camera);
    const size_t n = frame.size();
    Check(n > 4 && frame[0] == 0xFF && frame[1] == 0xD8 && frame[n - 2] == 0xFF &&
              frame[n - 1] == 0xD9 && static_cast<long>(n) <= room,
          "MJPG sample: one JPEG from SOI to EOI, %zu bytes (room %ld)", n, room);
    const std::wstring path = EnvironmentPath(L"VCAM_PROBE_JPEG", L"");
    if (path.empty() || n == 0)
        return;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool saved = file != INVALID_HANDLE_VALUE &&
                       WriteFile(file, frame.data(), static_cast<DWORD>(n), &written, nullptr) &&
                       written == n;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    Check(saved, "MJPG frame written to VCAM_PROBE_JPEG");
}

// Records the top-left pixel's red (a white bar) of the first frames.
class RampRecorder final : public ISampleGrabberCB {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_ISampleGrabberCB
                   ? static_cast<ISampleGrabberCB*>(this)
                   : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample* sample) override {
        BYTE* data = nullptr;
        if (count < 6 && SUCCEEDED(sample->GetPointer(&data)) && data)
            red[count] = data[479 * 640 * 3 + 2]; // image row 0 is the last stored row
        InterlockedIncrement(&count);
        return S_OK;
    }
    STDMETHODIMP BufferCB(double, BYTE*, LONG) override { return S_OK; }
    volatile LONG count = 0;
    int red[6] = {};
};

RampRecorder g_ramp;

void CheckRamp(IBaseFilter* camera) {
    SetBrightness(camera, 128);
    Graph g;
    bool made = MakeGraph(g, MEDIASUBTYPE_RGB24);
    g.graph->AddFilter(camera, L"Camera");
    g.grabber->SetCallback(&g_ramp, 0);
    made = made && g.builder->RenderStream(nullptr, &MEDIATYPE_Video, camera, g.grabberFilter.Get(),
                                           g.sink.Get()) == S_OK;
    ComPtr<IMediaControl> control;
    g.graph.As(&control);
    if (made)
        control->Run();
    const DWORD start = GetTickCount();
    while (made && g_ramp.count < 6 && GetTickCount() - start < 5000)
        Sleep(10);
    control->Stop();
    g.grabber->SetCallback(nullptr, 0);
    g.graph->RemoveFilter(camera);
    // Frame k < 4 at brightness 128 * k / 4: white 200 offset by 0, 32, 64, 96 less than 128.
    const int expected[6] = {72, 104, 136, 168, 200, 200};
    bool same = g_ramp.count >= 6;
    for (int k = 0; k < 6; ++k)
        same = same && g_ramp.red[k] == expected[k];
    Check(same, "ramp-frames 4: white bar of frames 0..5 is %d %d %d %d %d %d", g_ramp.red[0],
          g_ramp.red[1], g_ramp.red[2], g_ramp.red[3], g_ramp.red[4], g_ramp.red[5]);
    Check(Logged("cam=4 stream ramp frames=4") && Logged("cam=4 stream brightness=96 frame=3"),
          "log has the ramp");
}

void CheckBusyAndDenied() {
    ComPtr<IBaseFilter> busy = BindKey(kCaptureCategory, L"vcam02");
    Check(busy && busy->Pause() == HRESULT_FROM_WIN32(ERROR_BUSY),
          "busy camera: Pause (acquiring the device) fails with 0x800700AA");
    Check(busy && busy->Run(0) == HRESULT_FROM_WIN32(ERROR_BUSY), "busy camera: Run fails too");
    ComPtr<IBaseFilter> denied = BindKey(kCaptureCategory, L"vcam03");
    Graph g;
    const bool made = denied && MakeGraph(g, MEDIASUBTYPE_RGB24);
    ComPtr<IPin> input;
    ComPtr<IEnumPins> pins;
    if (made && SUCCEEDED(g.grabberFilter->EnumPins(pins.GetAddressOf())))
        pins->Next(1, input.GetAddressOf(), nullptr);
    ComPtr<IPin> out = denied ? CapturePin(denied.Get()) : nullptr;
    if (made)
        g.graph->AddFilter(denied.Get(), L"Camera");
    const HRESULT hr = out && input ? out->Connect(input.Get(), nullptr) : E_FAIL;
    Check(hr == E_ACCESSDENIED, "denied connect camera: the pin's Connect fails (0x%08lX)", hr);
    if (made)
        g.graph->RemoveFilter(denied.Get());
}

void CheckMicrophone() {
    const auto capture = ListCategory(kCaptureCategory);
    Check(!capture.empty() && capture[0].name == L"Microphone (Parvanex Virtual Camera)" &&
              !FindByKey(ListCategory(CLSID_VideoInputDeviceCategory), L"vcam00"),
          "the microphone is listed first in the capture category only");
    ComPtr<IBaseFilter> mic = BindKey(kCaptureCategory, L"vcam00");
    ComPtr<IPin> pin = mic ? CapturePin(mic.Get()) : nullptr;
    ComPtr<IEnumMediaTypes> types;
    AM_MEDIA_TYPE* type = nullptr;
    const bool pcm = pin && SUCCEEDED(pin->EnumMediaTypes(types.GetAddressOf())) &&
                     types->Next(1, &type, nullptr) == S_OK && type->majortype == MEDIATYPE_Audio &&
                     type->subtype == MEDIASUBTYPE_PCM && type->formattype == FORMAT_WaveFormatEx;
    FreeType(type);
    Check(pcm, "the microphone's capture pin offers PCM audio");
    ComPtr<IAMStreamConfig> config;
    ComPtr<IAMVideoProcAmp> procamp;
    Check(pin && pin.As(&config) == E_NOINTERFACE && mic.As(&procamp) == E_NOINTERFACE,
          "the microphone has no video stream configuration and no IAMVideoProcAmp");
}

} // namespace

int RunUvc() {
    CheckDevicePaths();
    CheckMicrophone();
    ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam01");
    ComPtr<IPin> pin = camera ? CapturePin(camera.Get()) : nullptr;
    ComPtr<IAMStreamConfig> config;
    Check(pin && SUCCEEDED(pin.As(&config)), "camera 1 binds and offers IAMStreamConfig");
    if (!config)
        return 1;
    CheckStrictSetFormat(config.Get());
    CheckYuvStream(camera.Get(), config.Get(), 2, MEDIASUBTYPE_YUY2, "YUY2");
    CheckYuvStream(camera.Get(), config.Get(), 3, MEDIASUBTYPE_NV12, "NV12");
    CheckJpegStream(camera.Get(), config.Get());
    CheckBusyAndDenied();
    ComPtr<IBaseFilter> ramp = BindKey(CLSID_VideoInputDeviceCategory, L"vcam04");
    if (ramp)
        CheckRamp(ramp.Get());
    return 0;
}

} // namespace probe
