// The capture filter through which the property operations reach a slot's camera.
#pragma once

#include "platform/media.h"

// The result of an operation that reaches no camera because the slot holds none, where the
// operation tells that apart from the camera's own failure.
constexpr platform::HResult kNoCameraInSlot = -1;

// The slot's capture filter, or null when the slot (0 to 5) holds no camera.
platform::Filter FilterOfSlot(int slot);
