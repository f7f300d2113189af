#include "properties/property_read.h"

#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"

namespace {

PropertyReading WithFlags(platform::HResult result, int32_t value, int32_t flags) {
    return {result, value, true, (flags & kFlagsAuto) != 0};
}

PropertyReading ReadVendorProperty(int slot, const PropertyRow& row) {
    PropertyReading reading;
    switch (row.id) {
    case VENDOR_PROPERTY_LED:
        reading.result = ReadLedMode(slot, &reading.value);
        return reading;
    case VENDOR_PROPERTY_ZOOM:
        reading.result = GetVendorZoom(slot, &reading.value);
        return reading;
    default: {
        int32_t mode = 0;
        reading.result = GetVendorExposure(slot, &reading.value, &mode);
        return WithFlags(reading.result, reading.value, mode);
    }
    }
}

} // namespace

PropertyReading ReadProperty(int slot, const PropertyRow& row) {
    int32_t value = 0, flags = 0;
    switch (row.carrier) {
    case Carrier::VideoProcAmp: {
        const platform::HResult result =
            GetVideoProcAmp(slot, static_cast<int32_t>(row.id), &value, &flags);
        return WithFlags(result, value, flags);
    }
    case Carrier::CameraControl: {
        const platform::HResult result = GetFocus(slot, &value, &flags);
        return WithFlags(result, value, flags);
    }
    case Carrier::VendorSet:
        return ReadVendorProperty(slot, row);
    }
    return {platform::kFail};
}

platform::HResult ReadPropertyRange(int slot, const PropertyRow& row,
                                    platform::PropertyRange* range) {
    switch (row.carrier) {
    case Carrier::VideoProcAmp:
        return GetVideoProcAmpRange(slot, static_cast<int32_t>(row.id), range);
    case Carrier::CameraControl:
        return GetCameraControlRange(slot, static_cast<int32_t>(row.id), range);
    case Carrier::VendorSet:
        return platform::kFalse;
    }
    return platform::kFalse;
}

PropertyReading ReadCameraMode(int slot) {
    int32_t time = 0, mode = 0;
    const platform::HResult result = GetVendorExposure(slot, &time, &mode);
    return {result, mode}; // the mode is the automatic flag itself
}
