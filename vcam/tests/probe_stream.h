// Checks of the video pin: its category and stream configuration, and a running graph
// camera -> sample grabber -> renderer whose frames are compared with the pattern.
#pragma once

#include "probe_support.h"

namespace probe {

// The capture pin of a bound camera, or null.
ComPtr<IPin> CapturePin(IBaseFilter* camera);
// Category, capability list, default format and SetFormat's checks (default camera list).
void CheckStreamConfig(IBaseFilter* camera);

enum class Renderer { Null, Vmr9 };
// Builds and runs the graph at RGB24 1920x1080; the camera's brightness must be `brightness`
// when called. Changes it to `laterBrightness` while running and checks the frames follow.
void CheckGraph(IBaseFilter* camera, Renderer renderer, long brightness, long laterBrightness);

} // namespace probe
