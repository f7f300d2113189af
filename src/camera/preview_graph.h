// The preview graph of the selected camera: camera -> sample grabber -> video renderer.
#pragma once

#include "platform/media_graph.h"

// Every reference is null while no graph exists and emptied when released.
struct PreviewGraphParts {
    platform::FilterGraph Graph = nullptr;
    platform::GraphBuilder Builder = nullptr;
    platform::MediaControl Control = nullptr; // its presence means that a graph exists
    platform::VideoWindow VideoWindow = nullptr;
    platform::CaptureBuilder CaptureBuilder = nullptr;
    platform::Filter GrabberFilter = nullptr;
    platform::SampleGrabber Grabber = nullptr;
    platform::Filter Renderer = nullptr;
    // The camera filter the graph was built with, held so that a device notice can ask whether
    // that camera is still there after the capture filter entries were bound anew.
    platform::Filter Camera = nullptr;
};

extern PreviewGraphParts PreviewGraph;

// Stops a running graph, runs a stopped one, or builds and runs a new one for the slot.
void TogglePreview(int slot);
// Releases the graph and the selected camera's binding, and clears its Previewing.
int ClosePreview();
int ReleasePreviewGraph();
// Run or stop the existing graph; nothing without one.
int RunPreview();
int StopPreview();
// 0 stopped or no graph, 1 paused, 2 running (waits up to 2500 ms for the state).
int PreviewState();
// Moves an existing video window into the "Parameters" box (true) or into its own window.
void PlacePreview(bool internal);
// After a device notice: a graph whose camera no longer answers is released and the Preview
// button shows "Preview", so that the camera, when it comes back, is previewed anew.
void ClosePreviewOfLostCamera();
