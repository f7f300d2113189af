// The camera mode: the exposure automatic or manual, with the frame-rate lock that goes with it.
// It spans both property families: the standard camera control and the vendor's exposure time.
#pragma once

#include "platform/media.h"

// Mode 2 manual, anything else automatic: exposure, frame-rate lock and low-light compensation.
platform::HResult SetExposureMode(int slot, int32_t mode);
