#include "probe_uvc.h"

#include "probe_devices.h"
#include "probe_graph.h"
#include "probe_properties.h"

#include <uuids.h>

#include <fstream>
#include <string>
#include <vector>

namespace probe {
namespace {

const wchar_t kUsbPath1[] = L"\\\\?\\usb#vid_1234&pid_5678&mi_00#7&1a2b3c4d&0&0001#"
                            L"{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
const wchar_t kBusyPath[] = L"\\\\?\\usb#vid_abcd&pid_0001&mi_00#8&2b&0&0000#"
                            L"{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";

// In the capture category, where the tool looks a camera up by it.
const struct {
    const wchar_t* key;
    const wchar_t* path; // null: the device has none
    const char* what;
} kPaths[] = {
    {L"vcam01", kUsbPath1, "camera 1: made from the index"},
    {L"vcam02", kBusyPath, "camera 2: device-path overrides it"},
    {L"vcam03", nullptr, "camera 3: no-device-path leaves it without"},
};

void CheckDevicePaths() {
    const auto listed = ListCategory(kCaptureCategory);
    for (const auto& c : kPaths) {
        const ListedDevice* device = FindByKey(listed, c.key);
        std::wstring path;
        const bool found = device && ReadBag(device->moniker.Get(), L"DevicePath", &path);
        Check(device && (c.path ? found && path == c.path : !found), "DevicePath of %s (%ls)",
              c.what, path.c_str());
    }
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

// Camera 1's capabilities as a class driver lists them: each size its own frame-rate range (100 ns
// frame times, shortest first), the listed type at the shortest, room for a whole frame.
const struct {
    const GUID& subtype;
    const char* name;
    long width, height;
    LONGLONG shortest, longest;
    DWORD frameBytes;
} kCaps[] = {
    {MEDIASUBTYPE_MJPG, "MJPG", 1920, 1080, 333333, 2000000, 1920 * 1080 * 3},
    {MEDIASUBTYPE_YUY2, "YUY2", 1920, 1080, 2000000, 2000000, 1920 * 1080 * 2},
    {MEDIASUBTYPE_YUY2, "YUY2", 640, 480, 333333, 2000000, 640 * 480 * 2},
    {MEDIASUBTYPE_NV12, "NV12", 640, 480, 333333, 333333, 640 * 480 * 3 / 2},
};

void CheckCapabilities(IAMStreamConfig* config) {
    int count = 0, size = 0;
    const HRESULT counted = config->GetNumberOfCapabilities(&count, &size);
    Check(counted == S_OK && count == 4 && size == sizeof(VIDEO_STREAM_CONFIG_CAPS),
          "4 capabilities of %d bytes (got %d, %d)",
          static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS)), count, size);
    for (int i = 0; i < 4; ++i) {
        const auto& e = kCaps[i];
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        const HRESULT hr = config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps));
        const auto* info = hr == S_OK && type->formattype == FORMAT_VideoInfo
                               ? reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat)
                               : nullptr;
        Check(
            info && type->subtype == e.subtype && info->bmiHeader.biWidth == e.width &&
                info->bmiHeader.biHeight == e.height && info->AvgTimePerFrame == e.shortest &&
                info->bmiHeader.biSizeImage == e.frameBytes && caps.InputSize.cx == e.width &&
                caps.InputSize.cy == e.height && caps.MinFrameInterval == e.shortest &&
                caps.MaxFrameInterval == e.longest,
            "capability %d: %s %ldx%ld, %lu bytes, frame times %lld..%lld (got InputSize %ldx%ld, "
            "%lld..%lld, %lu bytes)",
            i, e.name, e.width, e.height, e.frameBytes, e.shortest, e.longest, caps.InputSize.cx,
            caps.InputSize.cy, caps.MinFrameInterval, caps.MaxFrameInterval,
            info ? info->bmiHeader.biSizeImage : 0);
        FreeType(type);
    }
    AM_MEDIA_TYPE* current = nullptr;
    const bool got = config->GetFormat(&current) == S_OK && current->subtype == MEDIASUBTYPE_YUY2;
    const auto* info = got ? reinterpret_cast<VIDEOINFOHEADER*>(current->pbFormat) : nullptr;
    Check(info && info->bmiHeader.biWidth == 640 && info->bmiHeader.biHeight == 480,
          "camera 1 starts in its current-format, YUY2 640x480");
    FreeType(current);
}

// One SetFormat request: capability `index`'s own type with one change.
struct FormatCase {
    const char* what;
    int index;
    void (*change)(AM_MEDIA_TYPE* type, VIDEOINFOHEADER* info);
    HRESULT expected;
};

const FormatCase kFormatCases[] = {
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

bool SaveFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream file(path, std::ios::binary);
    const auto size = static_cast<std::streamsize>(bytes.size());
    return static_cast<bool>(file.write(reinterpret_cast<const char*>(bytes.data()), size));
}

// One capability of camera 1 at brightness 150 streamed into a grabber asking for `grabbed`; its
// frame written to the folder, where test_vcam.py compares it with the pattern.
const struct {
    int capability;
    const GUID& grabbed;
    const char* file;
    const char* what;
} kStreams[] = {
    {2, MEDIASUBTYPE_YUY2, "yuy2-frame.yuv", "YUY2 640x480"},
    {3, MEDIASUBTYPE_NV12, "nv12-frame.yuv", "NV12 640x480"},
    {3, MEDIASUBTYPE_RGB24, "nv12-rgb24.dib", "NV12 640x480 through the stand-in converter"},
    {0, MEDIASUBTYPE_MJPG, "mjpg-frame.jpg", "MJPG 1920x1080"},
};

void CheckStreams(IBaseFilter* camera, IAMStreamConfig* config, const std::string& folder) {
    SetBrightness(camera, 150);
    for (const auto& s : kStreams) {
        AM_MEDIA_TYPE* type = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        config->GetStreamCaps(s.capability, &type, reinterpret_cast<BYTE*>(&caps));
        const auto* info = type ? reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat) : nullptr;
        const size_t room = info ? info->bmiHeader.biSizeImage : 0;
        HRESULT hr = type ? config->SetFormat(type) : E_FAIL;
        FreeType(type);
        Graph g;
        if (hr == S_OK)
            hr = BuildGraph(g, camera, s.grabbed);
        if (hr == S_OK)
            hr = g.control->Run();
        Check(SUCCEEDED(hr), "%s: set, connected and run (0x%08lX)", s.what, hr);
        if (FAILED(hr))
            continue;
        const std::vector<unsigned char> frame = GrabLater(g.grabber.Get(), 10000);
        const size_t n = frame.size();
        // A JPEG sample is one baseline frame no longer than the format's biSizeImage; the others
        // fill a whole frame of the grabbed type (RGB24 rows of 640 pixels need no padding).
        const bool whole = s.grabbed == MEDIASUBTYPE_MJPG
                               ? n > 4 && frame[0] == 0xFF && frame[1] == 0xD8 &&
                                     frame[n - 2] == 0xFF && frame[n - 1] == 0xD9 && n <= room
                               : n == (s.grabbed == MEDIASUBTYPE_RGB24 ? 640 * 480 * 3 : room);
        Check(whole && SaveFile(folder + "\\" + s.file, frame),
              "%s: a whole frame, %zu bytes (room %zu), written as %s", s.what, n, room, s.file);
    }
}

// A camera that fails at the pin's Connect as configured ("busy connect", "denied connect").
const struct {
    const wchar_t* key;
    HRESULT expected;
    const char* what;
} kRefusedConnections[] = {
    {L"vcam02", HRESULT_FROM_WIN32(ERROR_BUSY), "busy connect camera"},
    {L"vcam03", E_ACCESSDENIED, "denied connect camera"},
};

void CheckRefusedConnections() {
    for (const auto& c : kRefusedConnections) {
        ComPtr<IBaseFilter> camera = BindKey(kCaptureCategory, c.key);
        Graph g;
        BuildGraph(g, camera.Get(), MEDIASUBTYPE_RGB24);
        ComPtr<IEnumPins> pins;
        ComPtr<IPin> input;
        if (g.grabberFilter && SUCCEEDED(g.grabberFilter->EnumPins(pins.GetAddressOf())))
            pins->Next(1, input.GetAddressOf(), nullptr);
        ComPtr<IPin> out = camera ? CapturePin(camera.Get()) : nullptr;
        const HRESULT hr = out && input ? out->Connect(input.Get(), nullptr) : E_POINTER;
        Check(hr == c.expected, "%s: the pin's Connect fails with 0x%08lX (expected 0x%08lX)",
              c.what, hr, c.expected);
    }
}

} // namespace

int RunUvc(const char* folder) {
    CheckDevicePaths();
    CheckMicrophone();
    ComPtr<IBaseFilter> camera = BindKey(CLSID_VideoInputDeviceCategory, L"vcam01");
    ComPtr<IPin> pin = camera ? CapturePin(camera.Get()) : nullptr;
    ComPtr<IAMStreamConfig> config;
    Check(pin && SUCCEEDED(pin.As(&config)), "camera 1 binds and offers IAMStreamConfig");
    if (!config)
        return 1;
    CheckCapabilities(config.Get());
    CheckStrictSetFormat(config.Get());
    CheckStreams(camera.Get(), config.Get(), folder);
    CheckRefusedConnections();
    return 0;
}

} // namespace probe
