#include "properties/property_write.h"

#include "core/camera_settings.h"
#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"

namespace {

// The white balance the camera's automatic mode is switched on with.
constexpr int32_t kAutomaticWhiteBalance = 4000;

platform::HResult WriteLed(int slot, int32_t code) {
    switch (code) {
    case kLedCodeOff:
        return SetLedOff(slot);
    case kLedCodeOn:
        return SetLedOn(slot);
    case kLedCodeAutomaticChosen:
    case kLedCodeAutomaticRead:
        return SetLedAutomatic(slot);
    default: // no mode has that code; nothing is asked
        return platform::kFail;
    }
}

} // namespace

platform::HResult WriteProperty(int slot, const PropertyRow& row, int32_t value) {
    switch (row.carrier) {
    case Carrier::VideoProcAmp:
        return SetVideoProcAmp(slot, static_cast<int32_t>(row.id), value, kFlagsManual);
    case Carrier::CameraControl: // the focus: -1 would be automatic, which no slider gives
        return SetFocus(slot, value);
    case Carrier::VendorSet:
        switch (row.id) {
        case VENDOR_PROPERTY_LED:
            return WriteLed(slot, value);
        case VENDOR_PROPERTY_ZOOM:
            return SetVendorZoom(slot, value);
        default:
            return SetVendorExposure(slot, value, kExposureManual);
        }
    }
    return platform::kFail;
}

platform::HResult WritePropertyAutomatic(int slot, const PropertyRow& row) {
    switch (row.boxAction) {
    case BoxAction::WhiteBalanceAutomatic:
        return SetVideoProcAmp(slot, static_cast<int32_t>(row.id), kAutomaticWhiteBalance,
                               kFlagsAuto);
    case BoxAction::FocusAutomatic:
        return SetFocus(slot, kAutomaticFocus);
    default:
        return platform::kFail;
    }
}
