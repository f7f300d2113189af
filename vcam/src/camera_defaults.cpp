// The ranges, values and formats of a camera nobody configured, chosen like a common USB webcam.
#include "camera_config.h"

#include <uuids.h>

#include <cwchar>

namespace vcam {
namespace {

constexpr long kAuto = 1;   // VideoProcAmp_Flags_Auto / CameraControl_Flags_Auto
constexpr long kManual = 2; // VideoProcAmp_Flags_Manual / CameraControl_Flags_Manual
constexpr LONGLONG k30Fps = 10000000 / 30;

Property Manual(long minimum, long maximum, long defaultValue) {
    return {minimum, maximum, 1, defaultValue, kManual, defaultValue, kManual};
}

Property Both(long minimum, long maximum, long defaultValue, long flags) {
    return {minimum, maximum, 1, defaultValue, kAuto | kManual, defaultValue, flags};
}

} // namespace

CameraConfig DefaultCamera(int index) {
    CameraConfig camera;
    camera.index = index;
    camera.procamp[0] = Both(0, 255, 128, kManual);    // brightness
    camera.procamp[1] = Manual(0, 255, 32);            // contrast
    camera.procamp[3] = Manual(0, 255, 64);            // saturation
    camera.procamp[4] = Manual(0, 255, 24);            // sharpness
    camera.procamp[7] = Both(2800, 6500, 4000, kAuto); // white balance, automatic at start
    camera.procamp[8] = Manual(0, 1, 0);               // backlight compensation
    camera.procamp[9] = Manual(0, 255, 0);             // gain
    camera.procamp[13] = Manual(0, 2, 1); // power line frequency: 0 off, 1 50 Hz, 2 60 Hz
    camera.cameraControl[4] = Both(-13, -1, -6, kAuto); // exposure, log2 seconds
    camera.cameraControl[6] = Both(0, 255, 128, kAuto); // focus
    // Auto-exposure priority: the vendor's cameras take it with either flag (the tool writes it
    // with the automatic flag when the exposure is automatic).
    camera.cameraControl[19] = Both(0, 1, 1, kAuto);
    camera.vendor[3] = {0, 0, 0, 100};  // zoom 100
    camera.vendor[5] = {1, 0, 0, 333};  // exposure: automatic, 333 x 0.0001 s
    camera.vendor[7] = {0, 0, 0, 3, 0}; // LED automatic
    const DWORD mjpg = MAKEFOURCC('M', 'J', 'P', 'G');
    camera.formats = {
        {MEDIASUBTYPE_MJPG, mjpg, 24, 1920, 1080, k30Fps, k30Fps},
        {MEDIASUBTYPE_RGB24, BI_RGB, 24, 1920, 1080, k30Fps, k30Fps},
        {MEDIASUBTYPE_RGB24, BI_RGB, 24, 1280, 720, k30Fps, k30Fps},
        {MEDIASUBTYPE_RGB24, BI_RGB, 24, 640, 480, k30Fps, k30Fps},
    };
    return camera;
}

const char* InterfaceName(Interface which) {
    switch (which) {
    case Interface::ProcAmp:
        return "procamp";
    case Interface::CameraControl:
        return "cameracontrol";
    case Interface::Vendor:
        return "vendor";
    case Interface::StreamConfig:
        return "streamconfig";
    default:
        return "?";
    }
}

const char* DirectionName(Direction which) {
    switch (which) {
    case Direction::Get:
        return "get";
    case Direction::Set:
        return "set";
    default:
        return "range";
    }
}

HRESULT CameraConfig::Refusal(Interface where, long id, Direction direction) const {
    for (const Rejection& r : rejections)
        if (r.where == where && r.direction == direction && (r.id == -1 || r.id == id))
            return r.result;
    return S_OK;
}

std::wstring DevicePathOf(const CameraConfig& camera) {
    if (!camera.hasDevicePath)
        return {};
    if (!camera.devicePath.empty())
        return camera.devicePath;
    // Shaped like a USB video interface under the class driver: unique per camera index.
    wchar_t path[160];
    std::swprintf(path, 160,
                  L"\\\\?\\usb#vid_1234&pid_5678&mi_00#7&1a2b3c4d&0&%04d#"
                  L"{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global",
                  camera.index);
    return path;
}

CameraConfig CameraOf(const Config& config, int index) {
    for (const CameraConfig& camera : config.cameras)
        if (camera.index == index)
            return camera;
    return DefaultCamera(index);
}

} // namespace vcam
