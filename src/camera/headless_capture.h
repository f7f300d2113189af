// One still without a window: camera -> sample grabber -> null renderer, for a program that has no
// panel and may run where no desktop is shown. The image is written by the same writer as the
// window program's captures.
#pragma once

#include "platform/types.h"

#include <cstdint>

enum class HeadlessOutcome {
    Written,     // the image is in the file
    NoCamera,    // the slot holds no camera
    CameraBusy,  // the window program has this camera's preview open
    GraphFailed, // the graph could not be built or run (result says why)
    NoFrame,     // no frame came within the time-out
    WriteFailed, // the file could not be written (result says why)
};

struct HeadlessCapture {
    HeadlessOutcome outcome;
    platform::HResult result; // the failing call's result; kOk when written
    // The picture's size as the written file's bitmap header gives it: the size the camera
    // streamed, which is not the size asked when the camera does not offer that one.
    int32_t width = 0;
    int32_t height = 0;
};

// Builds the graph for the slot's camera with the stream format width x height, runs it, waits
// at most timeoutMs for the first frame, writes it as a bitmap file at path, and releases every
// part of the graph before it returns, whatever the outcome.
//
// The slots are those DiscoverCameras filled: a slot outside 0 to 5 or without a capture filter
// is NoCamera, as is a camera that the capture category no longer lists or that cannot be bound.
// A claim on the camera (PreviewOpenElsewhere) is CameraBusy before anything is built. The graph
// binds a filter of its own for the camera and leaves PreviewGraph and CaptureFilters alone. A
// width or height of 0 or less asks for 1920 x 1080, the preview's default. The wait counts its
// 10 ms sleeps, as the window program's capture does. NoFrame also stands for a frame that its
// connected format does not describe (result kInvalidMediaType); no sample at all gives the
// grabber's kNoSampleYet. The file is written beside the path and put in place only when whole
// (WriteBitmapFile), so a failed write leaves no file and keeps one that stood there.
//
// settleMs > 0 lets the camera's automatic exposure settle: after the first frame the graph runs
// that much longer (real time, not counted sleeps) and the frame taken is the newest then; the
// frames of a webcam's first few hundred milliseconds are often dark or green. 0 takes the first.
HeadlessCapture CaptureWithoutWindow(int slot, int32_t width, int32_t height, uint32_t timeoutMs,
                                     const char* path, uint32_t settleMs = 0);

// Whether the window program has the slot's camera in a preview graph at this moment. The window
// program claims the camera while its preview graph exists; another process only asks. The claim
// names the camera by its friendly name and its place among the cameras of that name
// (camera_claim.h), so it must be asked after DiscoverCameras.
bool PreviewOpenElsewhere(int slot);
