#include "properties/exposure_mode.h"

#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "platform/held.h"
#include "platform/process.h"
#include "properties/camera_filter.h"
#include "properties/vendor_properties.h"

using platform::Held;
using platform::HResult;
using platform::kFail;

HResult SetExposureMode(int slot, int32_t mode) {
    platform::Filter filter = FilterOfSlot(slot);
    if (!filter)
        return kFail;
    Held<platform::CameraControl> control;
    if (platform::QueryCameraControl(filter, control.Receive()) != platform::kOk)
        return kFail;
    const bool manual = mode == kExposureManual;
    const int32_t flags = manual ? kFlagsManual : kFlagsAuto;
    CameraSettings& record = *RecordOf(slot);

    platform::PropertyRange range;
    if (platform::ControlRange(control.Get(), cameracontrol::Exposure, &range) == platform::kOk) {
        record.FlagExposureTime = !manual;
        HResult result =
            platform::ControlSet(control.Get(), cameracontrol::Exposure, range.defaultValue, flags);
        if (result != platform::kOk) {
            platform::WriteDebugText("Could not set the exposure time to automatic!\n");
            return result;
        }
        if (manual) {
            result = SetVendorExposure(slot, record.ExposureTime, kExposureManual);
            if (result != platform::kOk) {
                platform::WriteDebugText("Could not set the exposure time to automatic!\n");
                return result;
            }
        }
    }

    // Manual exposure keeps the frame rate constant; automatic exposure lets the camera lower it
    // in low light (the vendor's Clarivance compensation).
    HResult lock;
    if (manual) {
        lock = platform::ControlSet(control.Get(), cameracontrol::AutoExposurePriority, 0,
                                    kFlagsManual);
        if (lock != platform::kOk)
            platform::WriteDebugText("Could not set constant Framerate !\n");
    } else {
        lock =
            platform::ControlSet(control.Get(), cameracontrol::AutoExposurePriority, 1, kFlagsAuto);
        if (lock != platform::kOk)
            platform::WriteDebugText("Could not enable Clarivance !\n");
    }
    control.Reset();
    if (lock != platform::kOk) {
        platform::WriteStandardError("Failed to lock framerate\n");
        return kFail;
    }
    return platform::kOk;
}
