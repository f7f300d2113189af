// One property's value to the camera by its table row, on the carrier the row names, in manual
// mode: the way both a slider move and a whole record's apply write a property.
#pragma once

#include "core/camera_property.h"
#include "platform/media.h"

platform::HResult WriteProperty(int slot, const PropertyRow& row, int32_t value);
