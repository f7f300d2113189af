#include "properties/camera_records.h"

#include "app/shell_state.h"
#include "platform/process.h"
#include "properties/camera_filter.h"
#include "properties/camera_property.h"
#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"
#include "settings/camera_settings.h"

platform::HResult ReadCameraSettings(int slot) {
    if (!FilterOfSlot(slot))
        return -1;
    CameraSettings& record = *RecordOf(slot);
    int32_t value = 0, flags = 0;
    if (GetVideoProcAmp(slot, procamp::PowerLineFrequency, &value, &flags) == platform::kOk)
        record.PowerScheme = value;
    for (CameraProperty property : kPictureProperties) {
        const PropertyInfo& info = InfoOf(property);
        if (GetVideoProcAmp(slot, info.platformProperty, &value, &flags) == platform::kOk) {
            record.*info.value = value;
            record.*info.flag = (flags & 1) != 0;
        }
    }
    if (GetVendorZoom(slot, &value) == platform::kOk)
        record.Zoom = value;
    if (GetFocus(slot, &value, &flags) == platform::kOk) {
        record.FocusValue = value;
        record.FlagFocusValue = (flags & 1) != 0;
    }
    // A vendor read that reached the camera fills both outputs, with 0 and 0 when rejected; an
    // unavailable interface fills neither and the fields keep their values.
    int32_t exposure = 0, mode = 0;
    bool filled = false;
    GetVendorExposure(slot, &exposure, &mode, &filled);
    if (filled) {
        record.ExposureTime = exposure;
        record.FlagExposureTime = (mode & 1) != 0;
        record.FlagAutomatic = (mode & 1) != 0;
    }
    return GetLedMode(slot);
}

platform::HResult ApplyCameraSettings() {
    const int slot = Shell.selectedCamera;
    if (FilterOfSlot(slot)) {
        CameraSettings& record = *RecordOf(slot);
        SetPowerLineFrequency(slot, record.PowerScheme, kFlagsManual);
        switch (record.LEDInfo) {
        case 0:
            SetLedOff(slot);
            break;
        case 1:
            SetLedOn(slot);
            break;
        case 2:
            SetLedAutomatic(slot);
            break;
        default: // 3 is automatic already; other codes name no mode
            break;
        }
        if (record.FlagAutomatic)
            SetExposureMode(slot, kExposureAutomatic);
        SetVideoProcAmp(slot, procamp::Brightness, record.Brightness, kFlagsManual);
        if (!record.FlagAutomatic)
            SetExposureMode(slot, kExposureManual);
        SetVideoProcAmp(slot, procamp::Contrast, record.Contrast, kFlagsManual);
        SetVideoProcAmp(slot, procamp::Saturation, record.Saturation, kFlagsManual);
        SetVideoProcAmp(slot, procamp::Sharpness, record.Sharpness, kFlagsManual);
        if (!record.FlagWhiteBalance)
            SetVideoProcAmp(slot, procamp::WhiteBalance, record.WhiteBalance, kFlagsManual);
        if (record.BacklightCompensation == 0 || record.BacklightCompensation == 1)
            SetVideoProcAmp(slot, procamp::BacklightCompensation, record.BacklightCompensation,
                            kFlagsManual);
        SetVideoProcAmp(slot, procamp::Gain, record.Gain, kFlagsManual);
        record.Zoom = EvenZoom(record.Zoom);
        SetVendorZoom(slot, record.Zoom);
        SetVendorExposure(slot, record.ExposureTime, kExposureManual);
        SetFocus(slot, record.FocusValue);
    }
    if (General.InitAndExit == 1)
        platform::EndProcess(0);
    return platform::kOk;
}
