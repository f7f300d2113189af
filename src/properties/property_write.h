// One property's value to the camera by its table row, on the carrier the row names, in manual
// mode: the way a slider move, a whole record's apply and the command-line program's set write a
// property. The camera's own automatic mode of the properties that have one, as their check box
// switches it on.
#pragma once

#include "core/camera_property.h"
#include "platform/media.h"

// The LED takes its code of the record (off, on, or either automatic code); the others their
// value in the record's units.
platform::HResult WriteProperty(int slot, const PropertyRow& row, int32_t value);
// The camera's automatic mode of a property whose box switches it (BoxAction WhiteBalanceAutomatic
// or FocusAutomatic): what a tick in that box writes. E_FAIL, with nothing asked, for another row.
platform::HResult WritePropertyAutomatic(int slot, const PropertyRow& row);
