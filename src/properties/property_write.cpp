#include "properties/property_write.h"

#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"

platform::HResult WriteProperty(int slot, const PropertyRow& row, int32_t value) {
    switch (row.carrier) {
    case Carrier::VideoProcAmp:
        return SetVideoProcAmp(slot, static_cast<int32_t>(row.id), value, kFlagsManual);
    case Carrier::CameraControl: // the focus: -1 would be automatic, which no slider gives
        return SetFocus(slot, value);
    case Carrier::VendorSet:
        return row.id == VENDOR_PROPERTY_ZOOM ? SetVendorZoom(slot, value)
                                              : SetVendorExposure(slot, value, kExposureManual);
    }
    return platform::kFail;
}
