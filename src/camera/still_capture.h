// Still capture: the sample grabber's latest frame written as a bitmap file.
#pragma once

#include "platform/types.h"

platform::HResult CaptureStill();
