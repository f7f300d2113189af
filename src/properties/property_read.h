// One property's state as the camera reports it, by its table row, on the carrier the row names:
// the counterpart of WriteProperty, for a program that shows what the camera holds. The record is
// left as it is.
#pragma once

#include "core/camera_property.h"
#include "platform/media.h"

struct PropertyReading {
    platform::HResult result = platform::kOk;
    int32_t value = 0;         // in the record's units and codes
    bool hasAutomatic = false; // the camera tells whether the property is automatic
    bool automatic = false;
};

PropertyReading ReadProperty(int slot, const PropertyRow& row);
// The range of a property on a standard interface; S_FALSE, with nothing asked or filled, for one
// of the vendor's own properties, which have no range query.
platform::HResult ReadPropertyRange(int slot, const PropertyRow& row,
                                    platform::PropertyRange* range);
// The camera mode as a whole record's read takes it: the mode word of the vendor's exposure
// property (kExposureAutomatic or kExposureManual).
PropertyReading ReadCameraMode(int slot);
