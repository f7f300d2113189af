#include "cli/watch_drift.h"

#include "core/camera_settings.h"
#include "properties/camera_records.h"
#include "properties/property_read.h"
#include "properties/property_write.h"

namespace {

constexpr int32_t kNotStored = -1;

// Whether the camera's state is what the apply left: the stored value, in manual mode where the
// apply writes the property in manual mode and the camera tells the mode.
bool Holds(const PropertyRow& row, int32_t stored, const PropertyReading& found) {
    switch (row.property) {
    case CameraProperty::LEDInfo: // the chosen automatic code reads back as the camera's own
        return found.value == stored ||
               (stored == kLedCodeAutomaticChosen && found.value == kLedCodeAutomaticRead);
    case CameraProperty::FocusValue:
        if (stored == kAutomaticFocus)
            return found.automatic;
        return found.value == stored && !found.automatic;
    case CameraProperty::ExposureTime:
        return found.value == stored && !found.automatic;
    default:
        return found.value == stored && !(IsPictureProperty(row) && found.automatic);
    }
}

} // namespace

std::vector<Correction> CorrectDrift(int slot, uint32_t skipped) {
    std::vector<Correction> corrections;
    const CameraSettings* record = RecordOf(slot);
    if (!record)
        return corrections;
    for (const PropertyRow& row : AllProperties()) {
        int32_t stored = 0;
        if ((skipped & (1u << static_cast<int>(row.property))) != 0 ||
            !AppliedValue(*record, row, &stored))
            continue;
        if (stored == kNotStored && row.property != CameraProperty::FocusValue)
            continue;
        if (row.property == CameraProperty::ExposureTime && record->FlagAutomatic)
            continue;
        const PropertyReading found = ReadProperty(slot, row);
        if (platform::Failed(found.result) || Holds(row, stored, found))
            continue;
        corrections.push_back({&row, found.value, stored, WriteProperty(slot, row, stored)});
    }
    return corrections;
}
