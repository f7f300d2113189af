// Camera discovery: the vendor's cameras among the video input devices, one slot each, with a
// live capture filter per slot in CaptureFilters.
#pragma once

#include "core/camera_settings.h"
#include "platform/media.h"
#include "platform/media_graph.h"

#include <string>

extern platform::Filter CaptureFilters[kMaxCameras];
// The device path of each discovered camera, empty when its device has none; the graph's lookup
// binds the capture device with the same path.
extern std::u16string CaptureDevicePaths[kMaxCameras];

// Rebuilds slots 0 to n-1 and returns n (at most 6); 0 when the devices cannot be listed.
int DiscoverCameras();
// Binds a fresh filter for the slot's camera from the capture category into CaptureFilters and
// adds it to the preview graph being built; the result of the last call made.
platform::HResult AddCameraToGraph(int slot);
// Binds a fresh filter for the slot's camera in the same way, adds it to the given graph under the
// same name, and hands it to the caller, leaving CaptureFilters alone. Null, with the list's or
// the binding's failure (kFail when there is none to give), when the slot's camera is not listed
// or cannot be bound; else the filter, with the result of adding it.
platform::Filter BindCameraIntoGraph(int slot, platform::FilterGraph graph,
                                     platform::HResult* result);
// Device paths are Windows names: the same path without regard to ASCII case.
bool SameDevicePath(const std::u16string& a, const std::u16string& b);
// Releases the slot's filter, if any, and empties its entry.
void ReleaseCaptureFilter(int slot);
// The same for all six slots (the tool's way out).
void ReleaseCaptureFilters();
