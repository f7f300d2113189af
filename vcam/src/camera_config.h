// What one virtual camera is: its name, where it is listed, its properties with their ranges and
// initial values, its formats, and the requests it is told to refuse.
#pragma once

#include "vcam_headers.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vcam {

// The interfaces a configuration can refuse requests on or withhold altogether.
enum class Interface { ProcAmp, CameraControl, Vendor, StreamConfig, Count };
// get / set, and range: GetRange, QuerySupported, or the capability list of the stream.
enum class Direction { Get, Set, Range };

const char* InterfaceName(Interface which);
const char* DirectionName(Direction which);

// A standard property (IAMVideoProcAmp / IAMCameraControl): the range as GetRange reports it and
// the value and flags the camera starts with.
struct Property {
    long minimum, maximum, step, defaultValue, caps;
    long value, flags;
};

// One entry of the capability list. Frame intervals are in 100 ns units.
struct Capability {
    GUID subtype;
    DWORD compression; // biCompression: BI_RGB or the FourCC
    WORD bitCount;
    long width, height;
    LONGLONG minInterval, maxInterval;
};

struct Rejection {
    Interface where;
    long id; // -1: every id
    Direction direction;
    HRESULT result;
};

struct CameraConfig {
    int index = 0;
    std::wstring name = L"Parvanex Virtual Camera";
    bool inVideoCategory = true;
    bool inCaptureCategory = true;
    std::map<long, Property> procamp;
    std::map<long, Property> cameraControl;
    std::map<long, std::vector<int32_t>> vendor; // initial words per vendor property id
    std::vector<Capability> formats;
    std::vector<Rejection> rejections;
    bool audio = false;     // "kind audio": a microphone's capture filter, one PCM pin
    int currentFormat = -1; // index into formats; -1: the first RGB24 entry, else the first
    // Result of the filter's Pause (the step that acquires the device): S_OK, or 0x800700AA for a
    // camera another program uses, 0x80070005 for camera access switched off.
    HRESULT acquireResult = S_OK;
    bool acquireFailsAtConnect = false; // the same result already from the pin's Connect
    long rampFrames = 0;                // frames after Run that rise from dark to the brightness
    bool hasDevicePath = true;
    std::wstring devicePath; // empty: the USB interface path made from the index
    bool withheld[static_cast<int>(Interface::Count)] = {};

    bool Withholds(Interface which) const { return withheld[static_cast<int>(which)]; }
    // S_OK, or the configured result when the request is to be refused.
    HRESULT Refusal(Interface where, long id, Direction direction) const;
};

struct Config {
    std::vector<CameraConfig> cameras;
    std::vector<std::string> problems; // "line N: ..." for lines that were not understood
};

// A camera as it comes without configuration: a typical webcam's ranges and formats.
CameraConfig DefaultCamera(int index);
Config ParseConfig(const std::string& text);
// The configuration file named by paths.h, or one default camera (index 0) without one.
Config LoadConfig();
// The camera of that index; a default one when the configuration does not list it.
CameraConfig CameraOf(const Config& config, int index);
// The DevicePath value registered for the camera in both categories.
std::wstring DevicePathOf(const CameraConfig& camera);

} // namespace vcam
