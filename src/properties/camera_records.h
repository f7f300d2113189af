// A camera's whole state and its record: read the camera into the record, apply the record.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <vector>

// A request that the camera refused while a whole record was applied: the property by its settings
// key (or kCameraModeName) and the camera's result.
struct Refusal {
    const char* property;
    platform::HResult result;
};

struct CameraSettings;
struct PropertyRow;

// What a whole record's apply writes for one row (the LED and the power line included): false
// when a rule of the row, or an LED code that names no mode, leaves the row out. The zoom is
// raised to even, as the apply raises it.
bool AppliedValue(const CameraSettings& record, const PropertyRow& row, int32_t* value);

// The camera's current values into the slot's record: kNoCameraInSlot (camera_filter.h) when
// the slot has no camera, else the result of the last read (the LED mode's).
platform::HResult ReadCameraSettings(int slot);
// The selected camera's record to the camera; ends the process when InitAndExit is 1. A refused
// request does not stop the apply; with refusals given, each is added there.
platform::HResult ApplyCameraSettings(std::vector<Refusal>* refusals = nullptr);
