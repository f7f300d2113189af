#include "properties/exposure_mode.h"

#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "platform/held.h"
#include "platform/process.h"
#include "properties/camera_filter.h"
#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"

using platform::HResult;
using platform::kFail;

HResult SetExposureMode(int slot, int32_t mode) {
    return WithCameraControl(slot, [&](platform::CameraControl control) {
        const bool manual = mode == kExposureManual;
        const int32_t flags = manual ? kFlagsManual : kFlagsAuto;
        CameraSettings& record = *RecordOf(slot);

        platform::PropertyRange range;
        if (platform::ControlRange(control, cameracontrol::Exposure, &range) == platform::kOk) {
            record.FlagExposureTime = !manual;
            HResult result =
                platform::ControlSet(control, cameracontrol::Exposure, range.defaultValue, flags);
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

        // Manual exposure keeps the frame rate constant; automatic exposure lets the camera lower
        // it in low light (the vendor's Clarivance compensation).
        HResult lock;
        if (manual) {
            lock =
                platform::ControlSet(control, cameracontrol::AutoExposurePriority, 0, kFlagsManual);
            if (lock != platform::kOk)
                platform::WriteDebugText("Could not set constant Framerate !\n");
        } else {
            lock =
                platform::ControlSet(control, cameracontrol::AutoExposurePriority, 1, kFlagsAuto);
            if (lock != platform::kOk)
                platform::WriteDebugText("Could not enable Clarivance !\n");
        }
        if (lock != platform::kOk) {
            platform::WriteStandardError("Failed to lock framerate\n");
            return kFail;
        }
        return platform::kOk;
    });
}
