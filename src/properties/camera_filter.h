// The capture filter through which the property operations reach a slot's camera.
#pragma once

#include "platform/media.h"

// The slot's capture filter, or null when the slot (0 to 5) holds no camera.
platform::Filter FilterOfSlot(int slot);
