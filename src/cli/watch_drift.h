// The watch's read-back: each property that a whole record's apply writes, read from the camera
// and compared with the record; what differs is written again, as the apply writes it.
#pragma once

#include "core/camera_property.h"
#include "platform/types.h"

#include <vector>

struct Correction {
    const PropertyRow* row;
    int32_t found;
    int32_t stored;
    platform::HResult result; // of the write
};

// The slot's camera against its record. Left out: a property whose read fails, a stored -1 (a key
// not stored; the focus's -1 is its automatic mode and counts), the camera mode, and the exposure
// time while the record's camera mode is automatic (the camera then sets it itself); and the rows
// in skipped (one bit per CameraProperty). Returns the corrections made, in table order.
std::vector<Correction> CorrectDrift(int slot, uint32_t skipped);
