// The frame size and rate asked of the camera's capture pin before the graph is connected.
#pragma once

#include "platform/media_graph.h"

// Asks for the size at the rate for every capability of that size, up to the first RGB24 one:
// of the slot's camera filter, through the preview graph's capture builder.
platform::HResult SetStreamFormat(int slot, int width, int height, int framesPerSecond);
// The same of any camera filter, through any capture builder.
platform::HResult SetCameraStreamFormat(platform::CaptureBuilder builder, platform::Filter camera,
                                        int width, int height, int framesPerSecond);
// Sets a modified copy of the pin's current format; -1 (or the null subtype) keeps a field.
bool ApplyPinFormat(platform::Pin pin, int width, int height, double framesPerSecond,
                    const platform::Guid& subtype);
// The first pin of that direction that is not connected, referenced for the caller; or null.
platform::Pin FindFreeOutputPin(platform::Filter filter, int direction);
