#include "camera/headless_capture.h"

#include "camera/camera_claim.h"
#include "camera/capture_filters.h"
#include "camera/grabbed_frame.h"
#include "camera/graph_run.h"
#include "camera/media_types.h"
#include "camera/stream_format.h"
#include "core/camera_settings.h"
#include "platform/held.h"
#include "platform/media_graph.h"
#include "platform/process.h"

#include <algorithm>

using namespace platform;

namespace {

// Every part of one headless graph, each released when the graph goes out of scope; a graph that
// was run is stopped first. The window program's PreviewGraph is never touched.
struct HeadlessGraph {
    Held<GraphObject> object;
    Held<FilterGraph> graph;
    Held<GraphBuilder> builder;
    Held<CaptureBuilder> captureBuilder;
    Held<Filter> camera;
    Held<Filter> grabberFilter;
    Held<SampleGrabber> grabber;
    Held<Filter> renderer;
    Held<MediaControl> control;
    bool running = false;

    void Stop() {
        if (running)
            GraphStop(control.Get());
        running = false;
    }
    ~HeadlessGraph() { Stop(); }
};

HeadlessCapture Outcome(HeadlessOutcome outcome, HResult result) {
    return HeadlessCapture{outcome, result};
}

// camera -> sample grabber (RGB24, samples kept) -> null renderer, in the preview's order of
// steps, with the stream format asked before the connection. True when the graph is built; else
// false with the outcome and the failing call's result in failure.
bool Build(HeadlessGraph& g, int slot, int32_t width, int32_t height, HeadlessCapture* failure) {
    HResult result = CreateFilterGraph(g.object.Receive());
    if (!Failed(result))
        result = QueryFilterGraph(g.object.Get(), g.graph.Receive());
    if (!Failed(result))
        result = QueryGraphBuilder(g.object.Get(), g.builder.Receive());
    if (!Failed(result))
        result = CreateCaptureBuilder(g.captureBuilder.Receive());
    if (!Failed(result)) {
        *g.camera.Receive() = BindCameraIntoGraph(slot, g.graph.Get(), &result);
        if (!g.camera) {
            *failure = Outcome(HeadlessOutcome::NoCamera, result);
            return false;
        }
    }
    if (!Failed(result))
        result = CreateSampleGrabber(g.grabberFilter.Receive());
    if (!Failed(result))
        result = AddFilterToGraph(g.graph.Get(), g.grabberFilter.Get(), "Sample Grabber");
    if (!Failed(result))
        result = QuerySampleGrabber(g.grabberFilter.Get(), g.grabber.Receive());
    if (!Failed(result))
        result = GrabberSetMediaType(g.grabber.Get(), Rgb24Video());
    if (!Failed(result))
        result = CreateNullRenderer(g.renderer.Receive());
    if (!Failed(result))
        result = AddFilterToGraph(g.graph.Get(), g.renderer.Get(), "Null Renderer");
    if (!Failed(result))
        result = GrabberSetBufferSamples(g.grabber.Get(), true);
    if (!Failed(result))
        result = CaptureBuilderSetGraph(g.captureBuilder.Get(), g.builder.Get());
    if (!Failed(result))
        result = SetCameraStreamFormat(g.captureBuilder.Get(), g.camera.Get(), width, height, 30);
    if (!Failed(result))
        result = RenderVideoStream(g.captureBuilder.Get(), g.camera.Get(), g.grabberFilter.Get(),
                                   g.renderer.Get());
    if (!Failed(result))
        result = QueryMediaControl(g.object.Get(), g.control.Receive());
    if (Failed(result)) {
        *failure = Outcome(HeadlessOutcome::GraphFailed, result);
        return false;
    }
    return true;
}

// Lets the graph run settleMs more once a frame is there; nothing to wait for when none came.
void WaitForExposureToSettle(const HeadlessGraph& g, uint32_t settleMs) {
    int32_t size = 0;
    if (settleMs == 0 || GrabberCurrentBuffer(g.grabber.Get(), &size, nullptr) == kNoSampleYet)
        return;
    constexpr uint64_t kStepMs = 10;
    const uint64_t settledAt = MillisecondsNow() + settleMs;
    for (uint64_t now = MillisecondsNow(); now < settledAt; now = MillisecondsNow())
        SleepFor(static_cast<uint32_t>(std::min(kStepMs, settledAt - now)));
}

} // namespace

HeadlessCapture CaptureWithoutWindow(int slot, int32_t width, int32_t height, uint32_t timeoutMs,
                                     const char* path, uint32_t settleMs) {
    if (slot < 0 || slot >= kMaxCameras || !CaptureFilters[slot])
        return Outcome(HeadlessOutcome::NoCamera, kFail);
    if (PreviewOpenElsewhere(slot))
        return Outcome(HeadlessOutcome::CameraBusy, kFail);
    // The preview's own default, for a caller that leaves the size open.
    if (width <= 0 || height <= 0) {
        width = kDefaultResolutionX;
        height = kDefaultResolutionY;
    }

    HeadlessGraph g;
    HeadlessCapture failure{};
    if (!Build(g, slot, width, height, &failure))
        return failure;
    HResult result = RunCameraGraph(g.control.Get(), g.camera.Get());
    if (Failed(result))
        return Outcome(HeadlessOutcome::GraphFailed, result);
    g.running = true;
    WaitForGrabberFrame(g.grabber.Get(), g.control.Get(), timeoutMs);
    WaitForExposureToSettle(g, settleMs);

    GrabbedFrame frame;
    result = frame.Take(g.grabber.Get());
    // The camera is let go before the file is written: the frame is a copy.
    g.Stop();
    if (Failed(result))
        return Outcome(HeadlessOutcome::NoFrame, result);
    result = frame.WriteTo(path);
    if (Failed(result))
        return Outcome(HeadlessOutcome::WriteFailed, result);
    HeadlessCapture written = Outcome(HeadlessOutcome::Written, kOk);
    frame.WrittenSize(&written.width, &written.height);
    return written;
}

bool PreviewOpenElsewhere(int slot) {
    const std::string name = PreviewClaimName(slot);
    return !name.empty() && NamedClaimHeld(name.c_str());
}
