// One still without a window: camera -> sample grabber -> null renderer, for a program that has no
// panel and may run where no desktop is shown. The image is written by the same writer as the
// window program's captures.
#pragma once

#include "platform/types.h"

#include <cstdint>

enum class HeadlessOutcome {
    Written,      // the image is in the file
    NoCamera,     // the slot holds no camera
    CameraBusy,   // the window program has this camera's preview open
    GraphFailed,  // the graph could not be built or run (result says why)
    NoFrame,      // no frame came within the time-out
    WriteFailed,  // the file could not be written (result says why)
};

struct HeadlessCapture {
    HeadlessOutcome outcome;
    platform::HResult result; // the failing call's result; kOk when written
};

// Builds the graph for the slot's camera with the stream format width x height, runs it, waits
// at most timeoutMs for the first frame, writes it as a bitmap file at path, and releases every
// part of the graph before it returns, whatever the outcome.
HeadlessCapture CaptureWithoutWindow(int slot, int32_t width, int32_t height, uint32_t timeoutMs,
                                     const char* path);

// Whether the window program has the slot's camera in a preview graph at this moment. The window
// program claims the camera while its preview graph exists; another process only asks.
bool PreviewOpenElsewhere(int slot);
