// The formats a camera's capture pin lists, read through a graph of its own so that the camera is
// found as the still capture finds it; nothing is asked of the camera but its capability list.
#pragma once

#include "platform/media_graph.h"

#include <cstdint>
#include <string>
#include <vector>

struct CameraFormat {
    platform::Guid subtype;
    int32_t width = 0;
    int32_t height = 0;
    int64_t minFrameInterval = 0; // 100 ns: the fastest rate
    int64_t maxFrameInterval = 0; // the slowest
};

// The capture pin's entries in the pin's order; the result of the first call that failed.
platform::HResult ReadCameraFormats(int slot, std::vector<CameraFormat>* formats);
// "RGB24", the FourCC of a FourCC subtype ("YUY2", "MJPG"), else the identifier in braces.
std::string SubtypeText(const platform::Guid& subtype);
