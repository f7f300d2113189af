#include "properties/standard_properties.h"

#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "platform/held.h"
#include "platform/process.h"
#include "properties/camera_filter.h"

using platform::Held;
using platform::kFail;

namespace {

// The common shape of a call: without a camera no platform call and the given result; an
// interface the filter does not offer gives E_FAIL; else the interface is held for the call.
template <class Call> HResult OnProcAmp(int slot, HResult withoutCamera, Call call) {
    platform::Filter filter = FilterOfSlot(slot);
    if (!filter)
        return withoutCamera;
    Held<platform::VideoProcAmp> amp;
    if (platform::QueryVideoProcAmp(filter, amp.Receive()) != platform::kOk)
        return kFail;
    return call(amp.Get());
}

} // namespace

HResult GetVideoProcAmpRange(int slot, int32_t property, platform::PropertyRange* range) {
    // Without a camera nothing is filled, and that is not a failure.
    return OnProcAmp(slot, platform::kFalse, [&](platform::VideoProcAmp amp) {
        return platform::ProcAmpRange(amp, property, range);
    });
}

HResult GetVideoProcAmp(int slot, int32_t property, int32_t* value, int32_t* flags) {
    return OnProcAmp(slot, kFail, [&](platform::VideoProcAmp amp) {
        return platform::ProcAmpGet(amp, property, value, flags);
    });
}

HResult SetVideoProcAmp(int slot, int32_t property, int32_t value, int32_t flags) {
    return OnProcAmp(slot, kFail, [&](platform::VideoProcAmp amp) {
        return platform::ProcAmpSet(amp, property, value, flags);
    });
}

HResult SetPowerLineFrequency(int slot, int32_t value, int32_t flags) {
    return OnProcAmp(slot, kNoCameraInSlot, [&](platform::VideoProcAmp amp) {
        return platform::ProcAmpSet(amp, procamp::PowerLineFrequency, value, flags);
    });
}

HResult GetCameraControlRange(int slot, int32_t property, platform::PropertyRange* range) {
    return WithCameraControl(slot, [&](platform::CameraControl control) {
        return platform::ControlRange(control, property, range);
    });
}

HResult SetFocus(int slot, int32_t value) {
    return WithCameraControl(slot, [&](platform::CameraControl control) {
        const HResult result =
            value == kAutomaticFocus
                ? platform::ControlSet(control, cameracontrol::Focus, 128, kFlagsAuto)
                : platform::ControlSet(control, cameracontrol::Focus, value, kFlagsManual);
        return platform::Failed(result) ? kFail : result;
    });
}

HResult GetFocus(int slot, int32_t* value, int32_t* flags) {
    return WithCameraControl(slot, [&](platform::CameraControl control) {
        return platform::ControlGet(control, cameracontrol::Focus, value, flags);
    });
}
