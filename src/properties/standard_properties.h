// The standard picture properties (IAMVideoProcAmp) and camera controls (IAMCameraControl) of a
// slot's camera. Each call asks the filter for the interface it needs and releases it before it
// returns; a slot without a camera makes no platform call.
#pragma once

#include "platform/held.h"
#include "platform/media.h"
#include "properties/camera_filter.h"

using platform::HResult;

// The slot's IAMCameraControl, held for the call: E_FAIL without a camera or without the
// interface, else the call's result.
template <class Call> HResult WithCameraControl(int slot, Call call) {
    platform::Filter filter = FilterOfSlot(slot);
    if (!filter)
        return platform::kFail;
    platform::Held<platform::CameraControl> control;
    if (platform::QueryCameraControl(filter, control.Receive()) != platform::kOk)
        return platform::kFail;
    return call(control.Get());
}

HResult GetVideoProcAmpRange(int slot, int32_t property, platform::PropertyRange* range);
HResult GetVideoProcAmp(int slot, int32_t property, int32_t* value, int32_t* flags);
HResult SetVideoProcAmp(int slot, int32_t property, int32_t value, int32_t flags);
HResult SetPowerLineFrequency(int slot, int32_t value, int32_t flags);
HResult GetCameraControlRange(int slot, int32_t property, platform::PropertyRange* range);
// -1 is automatic focus: 128 with the automatic flag.
HResult SetFocus(int slot, int32_t value);
HResult GetFocus(int slot, int32_t* value, int32_t* flags);
