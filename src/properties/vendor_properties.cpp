#include "properties/vendor_properties.h"

#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "platform/held.h"
#include "platform/process.h"
#include "properties/camera_filter.h"
#include "properties/standard_properties.h"

#include <array>
#include <functional>

const platform::Guid kVendorPropertySet = {
    0xCAAE4966, 0x272C, 0x44A9, {0xB7, 0x92, 0x71, 0x95, 0x3F, 0x89, 0xDB, 0x2B}};

namespace {

using platform::Held;
using platform::kFail;
using platform::kOk;

constexpr uint32_t kLedIdentifySignal = 255;

// A property's data block, five words at most, written and read as little-endian bytes.
struct PropertyData {
    uint32_t size;
    std::array<uint8_t, 20> bytes{};

    explicit PropertyData(uint32_t byteCount) : size(byteCount) {}
    void SetWord(int index, int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        for (int b = 0; b < 4; ++b)
            bytes[index * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
    }
    int32_t Word(int index) const {
        uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<uint32_t>(bytes[index * 4 + b]) << (8 * b);
        return static_cast<int32_t>(v);
    }
};

PropertyData LedData(int32_t mode, uint32_t signal) {
    PropertyData data(20);
    data.SetWord(3, mode);
    data.SetWord(4, static_cast<int32_t>(signal));
    return data;
}

PropertyData ExposureData(int32_t value, int32_t mode) {
    PropertyData data(16);
    data.SetWord(0, mode);
    data.SetWord(3, value);
    return data;
}

// The common shape of a vendor request: without a camera nothing is asked and the result is 0;
// an interface that cannot be had gives the platform's result; a request that does not return
// exactly 0 gives E_FAIL.
enum class Access { Set, Get };

struct Outcome {
    bool reachedCamera;
    HResult result;
};

Outcome Request(int slot, Access access, uint32_t id, PropertyData& data,
                const std::function<void()>& onInterface = {}) {
    platform::Filter filter = FilterOfSlot(slot);
    if (!filter)
        return {false, kOk};
    Held<platform::PropertySet> set;
    HResult query = platform::QueryPropertySet(filter, set.Receive());
    if (query != kOk)
        return {false, query};
    if (onInterface)
        onInterface();
    uint32_t returned = 0;
    HResult result = access == Access::Set
                         ? platform::PropertySetSet(set.Get(), kVendorPropertySet, id,
                                                    data.bytes.data(), data.size)
                         : platform::PropertySetGet(set.Get(), kVendorPropertySet, id,
                                                    data.bytes.data(), data.size, &returned);
    return {true, result == kOk ? kOk : kFail};
}

// The record takes the new code once the camera's interface is at hand, and keeps it when the
// write then fails.
HResult SetLed(int slot, int32_t mode) {
    PropertyData data = LedData(mode, 0);
    return Request(slot, Access::Set, VENDOR_PROPERTY_LED, data,
                   [&] { RecordOf(slot)->LEDInfo = mode; })
        .result;
}

// The LED mode that a record's code asks for; a code that names none returns to automatic, so the
// identification signal never stays on.
int32_t LedModeOf(int32_t ledInfo) {
    switch (ledInfo) {
    case kLedCodeOff:
        return kLedOff;
    case kLedCodeOn:
        return kLedOn;
    default:
        return kLedAutomatic;
    }
}

} // namespace

HResult ReadLedMode(int slot, int32_t* mode) {
    PropertyData data(20);
    Outcome outcome = Request(slot, Access::Get, VENDOR_PROPERTY_LED, data);
    if (!outcome.reachedCamera || outcome.result != kOk)
        return outcome.result;
    *mode = data.Word(3);
    return kOk;
}

HResult GetLedMode(int slot) {
    int32_t mode = kLedIdentify; // a mode the record never takes, for a slot without a camera
    const HResult result = ReadLedMode(slot, &mode);
    if (result == kOk && (mode == kLedAutomatic || mode == kLedOn || mode == kLedOff))
        RecordOf(slot)->LEDInfo = mode;
    return result;
}

HResult SetLedOff(int slot) {
    return SetLed(slot, kLedOff);
}
HResult SetLedOn(int slot) {
    return SetLed(slot, kLedOn);
}
HResult SetLedAutomatic(int slot) {
    return SetLed(slot, kLedAutomatic);
}

HResult IdentifyCamera(int slot) {
    if (!FilterOfSlot(slot))
        return kOk;
    PropertyData data = LedData(kLedIdentify, kLedIdentifySignal);
    Outcome outcome = Request(slot, Access::Set, VENDOR_PROPERTY_LED, data);
    if (outcome.result != kOk)
        return outcome.result;
    platform::SleepFor(650);
    data.SetWord(3, LedModeOf(RecordOf(slot)->LEDInfo));
    return Request(slot, Access::Set, VENDOR_PROPERTY_LED, data).result;
}

HResult SetVendorExposure(int slot, int32_t value, int32_t mode) {
    PropertyData data = ExposureData(value, mode);
    Outcome outcome = Request(slot, Access::Set, VENDOR_PROPERTY_EXPOSURE, data);
    if (!outcome.reachedCamera || outcome.result == kOk)
        return outcome.result;
    // A rejected exposure time: put the camera-control exposure back to its default, in
    // automatic, and ask once more.
    platform::PropertyRange range;
    if (GetCameraControlRange(slot, cameracontrol::Exposure, &range) == kOk) {
        Held<platform::CameraControl> control;
        if (platform::QueryCameraControl(FilterOfSlot(slot), control.Receive()) == kOk)
            platform::ControlSet(control.Get(), cameracontrol::Exposure, range.defaultValue,
                                 kFlagsAuto);
    }
    return Request(slot, Access::Set, VENDOR_PROPERTY_EXPOSURE, data).result;
}

HResult GetVendorExposure(int slot, int32_t* value, int32_t* mode, bool* filled) {
    PropertyData data(16);
    Outcome outcome = Request(slot, Access::Get, VENDOR_PROPERTY_EXPOSURE, data);
    if (filled)
        *filled = outcome.reachedCamera;
    if (!outcome.reachedCamera)
        return outcome.result;
    if (outcome.result != kOk)
        data = PropertyData(16);
    *value = data.Word(3);
    *mode = data.Word(0);
    return outcome.result;
}

int32_t EvenZoom(int32_t value) {
    if (value % 2 == 0)
        return value;
    return value == INT32_MAX ? value - 1 : value + 1;
}

HResult SetVendorZoom(int slot, int32_t value) {
    PropertyData data(16);
    data.SetWord(3, value);
    return Request(slot, Access::Set, VENDOR_PROPERTY_ZOOM, data).result;
}

HResult GetVendorZoom(int slot, int32_t* value) {
    PropertyData data(16);
    Outcome outcome = Request(slot, Access::Get, VENDOR_PROPERTY_ZOOM, data);
    if (outcome.reachedCamera && outcome.result == kOk)
        *value = data.Word(3);
    return outcome.result;
}
