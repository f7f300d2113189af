// The standard picture properties (IAMVideoProcAmp) and camera controls (IAMCameraControl) of a
// slot's camera. Each call asks the filter for the interface it needs and releases it before it
// returns; a slot without a camera makes no platform call.
#pragma once

#include "platform/media.h"

using platform::HResult;

HResult GetVideoProcAmpRange(int slot, int32_t property, platform::PropertyRange* range);
HResult GetVideoProcAmp(int slot, int32_t property, int32_t* value, int32_t* flags);
HResult SetVideoProcAmp(int slot, int32_t property, int32_t value, int32_t flags);
HResult SetPowerLineFrequency(int slot, int32_t value, int32_t flags);
HResult GetCameraControlRange(int slot, int32_t property, platform::PropertyRange* range);
// -1 is automatic focus: 128 with the automatic flag.
HResult SetFocus(int slot, int32_t value);
HResult GetFocus(int slot, int32_t* value, int32_t* flags);
