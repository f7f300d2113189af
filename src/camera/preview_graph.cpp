#include "camera/preview_graph.h"

#include "camera/graph_run.h"

#include "camera/camera_claim.h"
#include "camera/camera_unavailable.h"
#include "camera/capture_filters.h"
#include "camera/media_types.h"
#include "camera/stream_format.h"
#include "core/camera_settings.h"
#include "core/shell_state.h"
#include "platform/constants.h"
#include "platform/held.h"
#include "platform/window_system.h"

using namespace platform;

PreviewGraphParts PreviewGraph;

namespace {

PreviewPanel panel;

void ShowParameterControls(int command) {
    if (panel.showParameterControls)
        panel.showParameterControls(command);
}

void UpdatePreviewButton() {
    if (panel.updatePreviewButton)
        panel.updatePreviewButton();
}

void MinimiseAndRestore() {
    if (panel.minimiseAndRestore)
        panel.minimiseAndRestore();
}

constexpr int32_t kEmbeddedStyle = 0x44800000;  // WS_CHILD, WS_CLIPSIBLINGS, WS_BORDER
constexpr int32_t kMovedInStyle = 0x46800000;   // the same with WS_CLIPCHILDREN
constexpr int32_t kOwnWindowStyle = 0x00CF0000; // WS_OVERLAPPEDWINDOW

template <class Handle> void ReleaseField(Handle& field) {
    if (field) {
        Release(field);
        field = nullptr;
    }
}

// The four parts that say a graph exists; an abandoned build gives them up.
void ReleaseGraphCore() {
    ReleaseField(PreviewGraph.Control);
    ReleaseField(PreviewGraph.Builder);
    ReleaseField(PreviewGraph.Graph);
    ReleaseField(PreviewGraph.CaptureBuilder);
    ReleaseField(PreviewGraph.Camera);
}

// Given back once every part of the graph has gone, so that a process that finds the camera free
// does not meet this graph still streaming from it.
void GiveBackCameraClaim() {
    if (PreviewGraph.CameraClaim) {
        GiveBackNamedClaim(PreviewGraph.CameraClaim);
        PreviewGraph.CameraClaim = nullptr;
    }
}

// The renderer's window goes with its graph. One that still has a window of ours as owner would be
// destroyed under that owner: it is hidden and given up by its owner first, as IVideoWindow asks.
void LetVideoWindowGo() {
    if (!PreviewGraph.VideoWindow)
        return;
    VideoWindowVisible(PreviewGraph.VideoWindow, false);
    VideoWindowOwner(PreviewGraph.VideoWindow, nullptr);
}

// What an earlier graph or an abandoned build left behind, before a new build replaces it.
void ReleaseLeftovers() {
    if (PreviewGraph.Control)
        GraphStop(PreviewGraph.Control);
    LetVideoWindowGo();
    ReleaseGraphCore();
    ReleaseField(PreviewGraph.VideoWindow);
    ReleaseField(PreviewGraph.GrabberFilter);
    ReleaseField(PreviewGraph.Grabber);
    ReleaseField(PreviewGraph.Renderer);
    GiveBackCameraClaim();
}

void PlaceInParametersBox(int32_t style) {
    Window box = panel.videoBox ? panel.videoBox() : nullptr;
    ShowParameterControls(sw::Hide);
    VideoWindowStyle(PreviewGraph.VideoWindow, style);
    VideoWindowOwner(PreviewGraph.VideoWindow, box);
    const Rect client = ClientRect(box);
    VideoWindowPosition(PreviewGraph.VideoWindow, 0, 0, client.right, client.bottom);
}

enum class Build { Done, MissingCamera };

// A camera that another program streams from, or that the privacy settings keep from us, refuses
// the connection or the run. A graph that cannot stream is not a preview: it is given up as any
// failed build (the caption stays "Preview", no claim stays behind) and the status bar says why.
bool CameraUnavailable(HResult result) {
    const char* text = CameraUnavailableText(result);
    if (text && panel.showStatus)
        panel.showStatus(text);
    return text != nullptr;
}

// Builds camera -> grabber -> renderer; a failing step abandons the build and releases the
// graph's core parts. Control exists afterwards exactly when the build succeeded.
Build BuildGraph(int slot) {
    ReleaseLeftovers();
    GraphObject object = nullptr;
    HResult status = CreateFilterGraph(&object);
    auto step = [&status](HResult result) {
        status = result;
        return !Failed(result);
    };
    [&] {
        if (Failed(status) || !step(QueryFilterGraph(object, &PreviewGraph.Graph)) ||
            !step(QueryGraphBuilder(object, &PreviewGraph.Builder)) ||
            !step(CreateCaptureBuilder(&PreviewGraph.CaptureBuilder)) ||
            !step(AddCameraToGraph(slot)))
            return;
        if (!CaptureFilters[slot])
            return;
        PreviewGraph.Camera = CaptureFilters[slot];
        AddRef(PreviewGraph.Camera);
        status = CreateSampleGrabber(&PreviewGraph.GrabberFilter);
        if (Failed(status))
            return;
        AddFilterToGraph(PreviewGraph.Graph, PreviewGraph.GrabberFilter, "Sample Grabber");
        if (!step(QuerySampleGrabber(PreviewGraph.GrabberFilter, &PreviewGraph.Grabber)))
            return;
        GrabberSetMediaType(PreviewGraph.Grabber, Rgb24Video());
        status = CreateVideoRenderer(&PreviewGraph.Renderer);
        if (!Failed(status))
            status = AddFilterToGraph(PreviewGraph.Graph, PreviewGraph.Renderer, "Video Renderer");
        if (Failed(status))
            return;
        GrabberSetBufferSamples(PreviewGraph.Grabber, true);
        if (!step(CaptureBuilderSetGraph(PreviewGraph.CaptureBuilder, PreviewGraph.Builder)))
            return;
        CameraSettings& record = CameraRecords[slot];
        if (record.ResolutionX == 0)
            record.ResolutionX = kDefaultResolutionX;
        if (record.ResolutionY == 0)
            record.ResolutionY = kDefaultResolutionY;
        if (!step(SetStreamFormat(slot, record.ResolutionX, record.ResolutionY, 30)))
            return;
        QueryVideoWindow(PreviewGraph.Builder, &PreviewGraph.VideoWindow);
        const HResult rendered =
            RenderVideoStream(PreviewGraph.CaptureBuilder, CaptureFilters[slot],
                              PreviewGraph.GrabberFilter, PreviewGraph.Renderer);
        if (CameraUnavailable(rendered)) {
            status = rendered;
            return;
        }
        if (General.InternalDisplay == 1 && PreviewGraph.VideoWindow)
            PlaceInParametersBox(kEmbeddedStyle);
        status = QueryMediaControl(object, &PreviewGraph.Control);
    }();

    if (!Failed(status) && !CaptureFilters[slot]) {
        if (panel.cameraMissing)
            panel.cameraMissing();
        ReleaseGraphCore();
        ReleaseField(object);
        return Build::MissingCamera;
    }
    if (Failed(status))
        ReleaseGraphCore();
    else if (PreviewGraph.Control)
        // Without a claim (the system refused the name) the preview runs as it would anyway.
        PreviewGraph.CameraClaim = TakeNamedClaim(PreviewClaimName(slot).c_str());
    ReleaseField(object);
    return Build::Done;
}

} // namespace

void SetPreviewPanel(const PreviewPanel& steps) {
    panel = steps;
}

void TogglePreview(int slot) {
    if (slot < 0 || slot >= kMaxCameras || !CaptureFilters[slot])
        return;
    if (PreviewState() != kPreviewStopped) {
        if (PreviewState() == kPreviewRunning) {
            GraphStop(PreviewGraph.Control);
            if (PreviewGraph.VideoWindow) {
                VideoWindowVisible(PreviewGraph.VideoWindow, false);
                ShowParameterControls(sw::ShowNormal);
            }
            MinimiseAndRestore();
        }
        UpdatePreviewButton();
        return;
    }
    CameraSettings& record = CameraRecords[slot];
    if (record.Previewing) {
        if (!PreviewGraph.Control)
            return; // the earlier build failed: nothing until another camera is selected
        ShowParameterControls(sw::Hide);
        GraphRun(PreviewGraph.Control);
        UpdatePreviewButton();
        if (PreviewGraph.VideoWindow)
            VideoWindowVisible(PreviewGraph.VideoWindow, true);
        return;
    }
    if (BuildGraph(slot) == Build::MissingCamera)
        return;
    if (PreviewGraph.Control) {
        if (CameraUnavailable(RunCameraGraph(PreviewGraph.Control, CaptureFilters[slot]))) {
            const bool hadVideoWindow = PreviewGraph.VideoWindow != nullptr;
            ReleaseLeftovers();
            if (hadVideoWindow)
                ShowParameterControls(sw::ShowNormal);
        } else if (panel.firstRunStarted) {
            panel.firstRunStarted();
        }
    }
    record.Previewing = true;
    UpdatePreviewButton();
}

void ClosePreview() {
    ReleasePreviewGraph();
    if (CameraSettings* record = RecordOf(Shell.selectedCamera))
        record->Previewing = false;
}

void ReleasePreviewGraph() {
    if (PreviewGraph.Control)
        GraphStop(PreviewGraph.Control);
    LetVideoWindowGo();
    ReleaseField(PreviewGraph.Control);
    ReleaseField(PreviewGraph.Builder);
    ReleaseField(PreviewGraph.Graph);
    ReleaseField(PreviewGraph.VideoWindow);
    if (Shell.selectedCamera >= 0 && Shell.selectedCamera < kMaxCameras)
        ReleaseCaptureFilter(Shell.selectedCamera);
    ReleaseField(PreviewGraph.GrabberFilter);
    ReleaseField(PreviewGraph.Grabber);
    ReleaseField(PreviewGraph.Renderer);
    ReleaseField(PreviewGraph.CaptureBuilder);
    ReleaseField(PreviewGraph.Camera);
    GiveBackCameraClaim();
}

void RunPreview() {
    if (PreviewGraph.Control)
        GraphRun(PreviewGraph.Control);
}

void StopPreview() {
    if (PreviewGraph.Control)
        GraphStop(PreviewGraph.Control);
}

int PreviewState() {
    if (!PreviewGraph.Control)
        return kPreviewStopped;
    int32_t state = kPreviewStopped;
    GraphState(PreviewGraph.Control, 2500, &state);
    return state;
}

namespace {

// Whether the graph's events, read to the end of the queue, tell of a device that went.
bool GraphReportedDeviceLost() {
    Held<MediaEvent> events;
    if (Failed(QueryMediaEvent(PreviewGraph.Control, events.Receive())) || !events)
        return false;
    bool lost = false;
    int32_t code = 0;
    intptr_t param2 = 0;
    while (NextGraphEvent(events.Get(), &code, &param2) == kOk)
        if (code == kEventDeviceLost && param2 == 0)
            lost = true;
    return lost;
}

// The graph's documented signal is EC_DEVICE_LOST. Not every platform passes it on, so a camera
// also counts as lost when it fails to answer its capture pin's stream configuration, which every
// built graph's camera offers (the build needs it). When that question itself cannot be asked the
// camera counts as there.
bool PreviewCameraLost() {
    if (GraphReportedDeviceLost())
        return true;
    if (!PreviewGraph.Camera || !PreviewGraph.CaptureBuilder)
        return false;
    Held<StreamConfig> config;
    if (FindCaptureStreamConfig(PreviewGraph.CaptureBuilder, PreviewGraph.Camera,
                                config.Receive()) != kOk ||
        !config)
        return false;
    int32_t count = 0, capsSize = 0;
    return Failed(StreamCapsCount(config.Get(), &count, &capsSize));
}

} // namespace

void ClosePreviewOfLostCamera() {
    if (!PreviewGraph.Control || !PreviewCameraLost())
        return;
    const bool hadVideoWindow = PreviewGraph.VideoWindow != nullptr;
    ReleaseLeftovers();
    if (hadVideoWindow)
        ShowParameterControls(sw::ShowNormal);
    UpdatePreviewButton();
}

void PlacePreview(bool internal) {
    if (!PreviewGraph.VideoWindow)
        return;
    if (internal) {
        PlaceInParametersBox(kMovedInStyle);
        return;
    }
    ShowParameterControls(sw::ShowNormal);
    VideoWindowStyle(PreviewGraph.VideoWindow, kOwnWindowStyle);
    VideoWindowOwner(PreviewGraph.VideoWindow, nullptr);
    MinimiseAndRestore();
}
