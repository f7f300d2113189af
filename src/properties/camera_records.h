// A camera's whole state and its record: read the camera into the record, apply the record.
#pragma once

#include "platform/types.h"

// The camera's current values into the slot's record: kNoCameraInSlot (camera_filter.h) when
// the slot has no camera, else the result of the last read (the LED mode's).
platform::HResult ReadCameraSettings(int slot);
// The selected camera's record to the camera; ends the process when InitAndExit is 1.
platform::HResult ApplyCameraSettings();
