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

// One property of the record to the camera, by its row; kOk when a condition of its row leaves it
// out. The LED, the power-line frequency and the camera mode are not written here: they have their
// own place in the apply order.
platform::HResult ApplyProperty(int slot, CameraSettings& record, const PropertyRow& row) {
    if (Has(row, kRaisedToEven))
        record.*row.value = EvenZoom(record.*row.value);
    int32_t value = 0;
    return AppliedValue(record, row, &value) ? WriteProperty(slot, row, value) : platform::kOk;
}

platform::HResult ApplyLed(int slot, const CameraSettings& record) {
    const PropertyRow& row = RowOf(CameraProperty::LEDInfo);
    int32_t code = 0;
    return AppliedValue(record, row, &code) ? WriteProperty(slot, row, code) : platform::kOk;
}

// A camera that refuses one property keeps its own value while the record keeps the operator's;
// the apply goes on, and the next one tries again.
void Note(std::vector<Refusal>* refusals, const char* property, platform::HResult result) {
    if (refusals && platform::Failed(result))
        refusals->push_back({property, result});
}

} // namespace

bool AppliedValue(const CameraSettings& record, const PropertyRow& row, int32_t* value) {
    *value = record.*row.value;
    if (row.property == CameraProperty::LEDInfo)
        // A code read back as automatic is automatic already, and other codes name no mode.
        return *value == kLedCodeOff || *value == kLedCodeOn || *value == kLedCodeAutomaticChosen;
    if (Has(row, kAppliedWhenManual) && record.*row.flag)
        return false;
    if (Has(row, kRaisedToEven))
        *value = EvenZoom(*value);
    return !Has(row, kAppliedWhenZeroOrOne) || *value == 0 || *value == 1;
}

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

platform::HResult ApplyCameraSettings(std::vector<Refusal>* refusals) {
    const int slot = Shell.selectedCamera;
    if (FilterOfSlot(slot)) {
        CameraSettings& record = *RecordOf(slot);
        // A fixed order: power line, LED, then the properties top to bottom, with the camera mode
        // around the first of them: automatic before it, manual after it.
        Note(refusals, RowOf(CameraProperty::PowerScheme).key,
             SetPowerLineFrequency(slot, record.PowerScheme, kFlagsManual));
        Note(refusals, RowOf(CameraProperty::LEDInfo).key, ApplyLed(slot, record));
        bool modeDone = false;
        for (const PropertyRow& row : AllProperties()) {
            if (row.slider == 0)
                continue;
            if (!modeDone && record.FlagAutomatic)
                Note(refusals, kCameraModeName, SetExposureMode(slot, kExposureAutomatic));
            Note(refusals, row.key, ApplyProperty(slot, record, row));
            if (!modeDone && !record.FlagAutomatic)
                Note(refusals, kCameraModeName, SetExposureMode(slot, kExposureManual));
            modeDone = true;
        }
    }
    if (General.InitAndExit == 1)
        platform::EndProcess(0);
    return platform::kOk;
}
