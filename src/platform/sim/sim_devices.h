// Simulated capture devices: their place in the two device categories, friendly names, property
// bags and bindings that can fail, and cameras with picture properties, camera controls and the
// vendor property set. Every request a camera receives is logged with its data.
#pragma once

#include "platform/media.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace sim {

struct SimProperty {
    platform::PropertyRange range;
    int32_t value = 0;
    int32_t flags = 2;
};

enum class Interface { ProcAmp, CameraControl, Vendor };
enum class Direction { Range, Get, Set };

struct Request {
    int camera;
    Interface interface;
    Direction direction;
    int32_t property;
    std::vector<int32_t> data; // value and flags, or the vendor data words
    platform::HResult result;
};

// One entry of a capture pin's capability list, as its media type and caps record describe it.
// The pin's SetFormat takes a video-info type only when one entry has its subtype, format type,
// size, compression and bit count and, unless it is 0, a frame time in the entry's range.
struct SimCapability {
    platform::Guid subtype;
    int32_t width;
    int32_t height;
    platform::Guid formatType = platform::Guid{
        0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}}; // video info
    uint32_t compression = 0;          // biCompression: BI_RGB, or the FourCC
    uint16_t bitCount = 24;            // biBitCount
    int64_t minFrameInterval = 333333; // 100 ns; the block the pin hands out carries this one
    int64_t maxFrameInterval = 333333;
};

constexpr platform::Guid kSubtypeMjpg = {
    0x47504A4D, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr platform::Guid kSubtypeYuy2 = {
    0x32595559, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr uint32_t kFourCcMjpg = 0x47504A4D;
constexpr uint32_t kFourCcYuy2 = 0x32595559;

// Entries as a USB video class camera lists them: YUY2 (16 bits) and MJPG (24 bits) with their
// FourCC as compression, at the frame rates given (frames per second, fastest and slowest).
SimCapability Yuy2Capability(int32_t width, int32_t height, int fastestFps, int slowestFps);
SimCapability MjpgCapability(int32_t width, int32_t height, int fastestFps, int slowestFps);

struct SimCamera {
    std::u16string friendlyName;
    bool inVideoInput = true;
    bool inCapture = true;
    platform::HResult bagResult = 0;  // BindToStorage
    platform::HResult nameResult = 0; // Read("FriendlyName")
    // The type of the value the property bag holds for "FriendlyName": a string (VT_BSTR, 8), or
    // another type (a number, say), which a real bag can hand out just as well.
    uint16_t nameType = 8;
    bool bindFails = false;
    // The property bag's "DevicePath", the same in both categories. AddCamera gives a camera
    // without one a path of its own unless hasDevicePath is false (a device registered without
    // one, as the virtual camera under Wine may be).
    bool hasDevicePath = true;
    std::u16string devicePath;
    bool withholdProcAmp = false;
    bool withholdCameraControl = false;
    bool withholdPropertySet = false;
    std::map<int32_t, SimProperty> procAmp;
    std::map<int32_t, SimProperty> cameraControl;
    std::map<uint32_t, std::vector<int32_t>> vendor; // property id -> stored words
    struct Rejection {
        platform::HResult result;
        int times; // -1: every time
    };
    // The capture pin's stream configuration: its capability list and current format.
    bool hasStreamConfig = true;
    int32_t capsSize = 128; // the caps record's size the pin reports (the video record's)
    std::vector<SimCapability> capabilities;
    SimCapability current{};
    // Requests to reject, keyed by interface, direction and property.
    std::map<std::tuple<Interface, Direction, int32_t>, Rejection> rejections;
    // Plugged in and listed. Each unplug starts a new generation: objects bound before it stay
    // dead after the camera comes back, as a re-plugged USB device is a new device.
    bool plugged = true;
    int generation = 0;
    // At an unplug, the graphs that hold the camera get EC_DEVICE_LOST; the capture pin of the
    // gone device fails GetNumberOfCapabilities unless capsCountAfterUnplug (a proxy answering
    // from the ranges it read when bound).
    bool sendsDeviceLost = true;
    bool capsCountAfterUnplug = false;
};

// What a removed device answers to every request (HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED)).
constexpr platform::HResult kDeviceNotConnected = static_cast<platform::HResult>(0x8007048Fu);

// A camera that resembles the vendor's webcam, with the given friendly name.
SimCamera VendorCamera(const std::u16string& name);
// The same camera shaped like a USB video class webcam: YUY2 640x480 at 30 to 5 fps, YUY2
// 1920x1080 at 5 fps only, MJPG 1920x1080 at 30 to 5 fps, no RGB24; current YUY2 640x480.
SimCamera UvcCamera(const std::u16string& name);
// Adds a device; returns its index.
int AddCamera(const SimCamera& camera);
SimCamera& Camera(int index);
int CameraCount();
void Reject(int camera, Interface interface, Direction direction, int32_t property,
            platform::HResult result = static_cast<platform::HResult>(0x80070057u), int times = -1);

std::vector<Request>& Requests();
// The requests of one interface (and, unless negative, one property), in order.
std::vector<Request> RequestsOf(Interface interface, int32_t property = -1);
// The camera is removed: no longer listed, and every object bound to it answers
// kDeviceNotConnected. midFrame: it went while a frame was on its way, so the grabber of a graph
// streaming from it is left holding the first part of that frame only.
void Unplug(int camera, bool midFrame = false);
// The camera is attached again, as a new device: listed, bindable, with a fresh generation.
void Plug(int camera);
// Runs before a camera interface serves a request (and before a moniker is bound), with the
// camera's index: a test makes a camera vanish at exactly that moment. Cleared by ResetDevices.
std::function<void(int camera, Interface, Direction, int32_t property)>& BeforeRequest();
// Filter objects alive (created and not released): catches leaks and double releases.
int FiltersAlive();
// References outstanding on all filter objects (the graph holds its own on the filters it has).
int FilterReferences();
// Device lists and devices (monikers) handed out and not yet released.
int DeviceObjectsAlive();
// Camera interfaces obtained and not yet released.
int InterfacesAlive();
// The camera a filter handle belongs to, or -1. Throws when the filter is used after its last
// release, as the real object would be freed memory by then.
int CameraOfFilter(platform::Filter filter);
// A camera filter whose device has been removed since it was bound.
bool FilterDeviceGone(platform::Filter filter);
// The camera's generation a filter was bound in, and whether that binding is dead by now.
int FilterGeneration(platform::Filter filter);
bool CameraGone(int camera, int generation);
// A filter object that is not a camera (the graph's grabber and renderers), with its kind.
platform::Filter NewFilter(int kind);
constexpr int kGrabberFilter = -2;
constexpr int kRendererFilter = -3;
constexpr int kNullRendererFilter = -4;
// Creating the system device enumerator fails with this result while it is negative.
void FailDeviceEnumerator(platform::HResult result);

void ResetDevices();

} // namespace sim
