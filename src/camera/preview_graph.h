// The preview graph of the selected camera: camera -> sample grabber -> video renderer.
#pragma once

#include "platform/media_graph.h"
#include "platform/process.h"

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
    // The camera claimed for other processes to see (camera_claim.h) from a build that succeeded
    // until the graph is released.
    platform::Claim CameraClaim = nullptr;
};

extern PreviewGraphParts PreviewGraph;

// What the preview asks of the window that shows it, at the points where the preview's own steps
// need it: the parameter controls hidden while the video covers them and shown again, the Preview
// button's caption, the main window minimised and restored (which repaints it), the box that
// holds an internal video, the capture that a first run may start, and the notice that the
// camera could not be bound. The window program sets them at start-up; a program without a panel
// leaves them empty and the preview runs without them.
struct PreviewPanel {
    void (*showParameterControls)(int command) = nullptr; // platform::sw::Hide or ShowNormal
    void (*updatePreviewButton)() = nullptr;
    void (*minimiseAndRestore)() = nullptr;
    platform::Window (*videoBox)() = nullptr;
    void (*firstRunStarted)() = nullptr;
    void (*cameraMissing)() = nullptr;
    // A status bar text: why the camera could not be previewed.
    void (*showStatus)(const char* text) = nullptr;
};
void SetPreviewPanel(const PreviewPanel& panel);

// Stops a running graph, runs a stopped one, or builds and runs a new one for the slot.
void TogglePreview(int slot);
// Releases the graph and the selected camera's binding, and clears its Previewing.
void ClosePreview();
void ReleasePreviewGraph();
// Run or stop the existing graph; nothing without one.
void RunPreview();
void StopPreview();
// The graph's state (waits up to 2500 ms for it): kPreviewStopped also without a graph.
constexpr int kPreviewStopped = 0;
constexpr int kPreviewPaused = 1;
constexpr int kPreviewRunning = 2;
int PreviewState();
// Moves an existing video window into the "Parameters" box (true) or into its own window.
void PlacePreview(bool internal);
// After a device notice: a graph whose camera went (the graph reported EC_DEVICE_LOST, or the
// camera no longer answers) is released and the Preview
// button shows "Preview", so that the camera, when it comes back, is previewed anew.
void ClosePreviewOfLostCamera();
