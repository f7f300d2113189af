#include "properties/camera_records.h"

#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "core/shell_state.h"
#include "platform/process.h"
#include "properties/camera_filter.h"
#include "properties/exposure_mode.h"
#include "properties/property_write.h"
#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"

namespace {

bool AutomaticIn(int32_t flags) {
    return (flags & kFlagsAuto) != 0;
}

// One property of the record to the camera, by its row. The LED, the power-line frequency and the
// camera mode are not written here: they have their own place in the apply order.
void ApplyProperty(int slot, CameraSettings& record, const PropertyRow& row) {
    if (Has(row, kAppliedWhenManual) && record.*row.flag)
        return;
    if (Has(row, kRaisedToEven))
        record.*row.value = EvenZoom(record.*row.value);
    const int32_t value = record.*row.value;
    if (Has(row, kAppliedWhenZeroOrOne) && value != 0 && value != 1)
        return;
    // Result ignored: a camera that refuses one property keeps its own value while the record
    // keeps the operator's; the next apply tries again.
    WriteProperty(slot, row, value);
}

void ApplyLed(int slot, int32_t code) {
    switch (code) {
    case kLedCodeOff:
        SetLedOff(slot);
        break;
    case kLedCodeOn:
        SetLedOn(slot);
        break;
    case kLedCodeAutomaticChosen:
        SetLedAutomatic(slot);
        break;
    default: // a code read back as automatic is automatic already; other codes name no mode
        break;
    }
}

} // namespace

platform::HResult ReadCameraSettings(int slot) {
    if (!FilterOfSlot(slot))
        return kNoCameraInSlot;
    CameraSettings& record = *RecordOf(slot);
    // The camera is read in a fixed order: power line, the picture properties top to bottom,
    // zoom, focus, exposure, LED. A read that fails leaves the field as it was.
    int32_t value = 0, flags = 0;
    const PropertyRow& power = RowOf(CameraProperty::PowerScheme);
    if (GetVideoProcAmp(slot, static_cast<int32_t>(power.id), &value, &flags) == platform::kOk)
        record.*power.value = value;
    for (const PropertyRow& row : AllProperties()) {
        if (!IsPictureProperty(row))
            continue;
        if (GetVideoProcAmp(slot, static_cast<int32_t>(row.id), &value, &flags) == platform::kOk) {
            record.*row.value = value;
            record.*row.flag = AutomaticIn(flags);
        }
    }
    if (GetVendorZoom(slot, &value) == platform::kOk)
        record.Zoom = value;
    if (GetFocus(slot, &value, &flags) == platform::kOk) {
        record.FocusValue = value;
        record.FlagFocusValue = AutomaticIn(flags);
    }
    // A vendor read that reached the camera fills both outputs, with 0 and 0 when rejected; an
    // unavailable interface fills neither and the fields keep their values.
    int32_t exposure = 0, mode = 0;
    bool filled = false;
    GetVendorExposure(slot, &exposure, &mode, &filled); // result ignored: `filled` tells it all
    if (filled) {
        record.ExposureTime = exposure;
        record.FlagExposureTime = AutomaticIn(mode);
        record.FlagAutomatic = AutomaticIn(mode);
    }
    return GetLedMode(slot);
}

platform::HResult ApplyCameraSettings() {
    const int slot = Shell.selectedCamera;
    if (FilterOfSlot(slot)) {
        CameraSettings& record = *RecordOf(slot);
        // A fixed order: power line, LED, then the properties top to bottom, with the camera mode
        // around the first of them: automatic before it, manual after it.
        SetPowerLineFrequency(slot, record.PowerScheme, kFlagsManual);
        ApplyLed(slot, record.LEDInfo);
        bool modeDone = false;
        for (const PropertyRow& row : AllProperties()) {
            if (row.slider == 0)
                continue;
            if (!modeDone && record.FlagAutomatic)
                SetExposureMode(slot, kExposureAutomatic);
            ApplyProperty(slot, record, row);
            if (!modeDone && !record.FlagAutomatic)
                SetExposureMode(slot, kExposureManual);
            modeDone = true;
        }
    }
    if (General.InitAndExit == 1)
        platform::EndProcess(0);
    return platform::kOk;
}
