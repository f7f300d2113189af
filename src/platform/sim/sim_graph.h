// The simulated media graph: which objects exist, the filters added, the connection and run
// state, the grabber's buffered sample and connected media type, the video window, the format
// requests a capture pin received, and task memory. Tests set failures and inspect the records.
#pragma once

#include "platform/media_graph.h"

#include <cstdint>
#include <utility>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sim {

struct FormatRequest {
    int camera;
    platform::Guid subtype;
    int32_t width; // read where the block's type keeps them; 0 for a block of another type
    int32_t height;
    int64_t avgTimePerFrame;
    platform::Guid formatType{};
    std::vector<uint8_t> format;  // the whole format block as it was handed over
    platform::HResult result = 0; // what the pin answered
};

struct GraphModel {
    // Results that a step gives instead of succeeding, keyed by the step's name:
    // "CreateFilterGraph", "QueryFilterGraph", "QueryGraphBuilder", "CreateCaptureBuilder",
    // "CreateSampleGrabber", "QuerySampleGrabber", "CreateVideoRenderer", "CreateNullRenderer",
    // "AddFilter <name>" (any name the tool gives), "SetFiltergraph", "QueryMediaControl",
    // "QueryVideoWindow", "RenderStream", "Run".
    std::map<std::string, platform::HResult> failures;
    std::vector<std::string> calls; // "AddFilter <name>", "RenderStream", "Run", "Stop", ...
    std::vector<FormatRequest> formatRequests;
    int32_t state = 0; // 0 stopped, 1 paused, 2 running
    // A graph still changing state: GetState waits this long (at most its time-out) before it
    // answers, and the calling thread is blocked meanwhile.
    uint32_t stateSettlesAfterMs = 0;
    // A run that fails only when the graph is asked for its state, as Wine's asynchronous run
    // does with a camera that refuses to leave Stopped: Run answers S_FALSE, GetState E_FAIL with
    // the state Running, and only the camera filter's own Pause gives this result.
    platform::HResult runFailsWhenAsked = 0;
    bool connected = false;
    int connectedCamera = -1;
    // The converter the connection went through ("" for an RGB24 camera); kept after it goes.
    std::string connectedThrough;
    int connectedSinkKind = 0; // the renderer the stream ends in: sim::kRendererFilter or
                               // sim::kNullRendererFilter; kept after the graph goes

    // The grabber. After a run of a connected graph it holds a sample of the camera's current
    // format, unless a test set its own (autoSample false).
    bool autoSample = true;
    bool hasSample = false;
    // How long after a run the first frame reaches the grabber (a camera slow to start).
    uint32_t firstSampleAfterMs = 0;
    uint64_t firstSampleAt = 0; // on the desktop's virtual clock, set by each run
    // A camera whose automatic exposure settles: the frames of this long after the first one are
    // black (every pixel byte 0), as real webcams give dark or green frames at first.
    uint32_t darkForMs = 0;
    std::vector<uint8_t> sample;
    platform::HResult connectedTypeResult = 0; // a failure: the grabber reports no connection
    platform::Guid connectedFormatType{};
    std::vector<uint8_t> connectedFormat; // the format block handed out

    // The renderer's window.
    bool windowVisible = true;
    int32_t windowStyle = 0;
    platform::Window windowOwner = nullptr;
    int windowX = 0, windowY = 0, windowWidth = 0, windowHeight = 0;
    int windowGraph = 0; // the graph whose video window was asked for

    // What the platform would show as a fault but not report: a video window let go by its graph
    // while it still had an owner ("video window released with an owner").
    std::vector<std::string> faults;

    int objectsAlive = 0;    // graph interfaces obtained and not released
    int taskBlocksAlive = 0; // task memory allocated and not freed
    uint64_t taskBytes = 0;  // task memory allocated in all
    int mediaTypesAlive = 0; // media type records handed out and not freed
    // Filter graph objects with an interface still referenced. Each holds a reference on every
    // filter added to it and gives them up with its last interface.
    int graphsAlive = 0;
    // A frame that a camera delivers after its device went: never (the sample stays as it was).
    bool streamHalted = false;
    // Runs before the grabber serves GetCurrentBuffer or GetConnectedMediaType.
    std::function<void()> beforeGrabberCall;

    // Bookkeeping of the strict checks (freed twice, never allocated).
    std::set<void*> liveBlocks;
    std::set<void*> liveMediaTypes;
    struct GraphInstance {
        int references = 0;
        std::vector<platform::Filter> filters;
        // The graph's event queue: code and second parameter of each event not yet read.
        std::vector<std::pair<int32_t, intptr_t>> events;
    };
    std::map<int, GraphInstance> graphs;
    int nextGraphId = 1;
    int connectedGraph = 0;
    platform::Filter connectedSource = nullptr;
};

GraphModel& Graph();
void ResetGraph();
// Called by the devices when a camera is removed: a graph streaming from it gets no more frames,
// and every graph holding a filter of it queues EC_DEVICE_LOST (unless the camera's
// sendsDeviceLost is false, as a proxy that does not pass it on).
void CameraUnplugged(int camera, bool midFrame);

// An RGB24 video-info format block for a frame size (88 bytes).
std::vector<uint8_t> VideoInfoBlock(int32_t width, int32_t height);
// The format block a camera hands out for a capability of that format type: a video-info block,
// a second video-info block (112 bytes, aspect ratio 16:9, copy protection flags 0), or for any
// other type a block of 88 bytes whose fields mean nothing to the tool.
std::vector<uint8_t> FormatBlock(const platform::Guid& formatType, int32_t width, int32_t height);
// The block a capture pin hands out for one of its entries: the format type's block for that size
// with the entry's compression, bit count, image size and its shortest frame time.
struct SimCapability;
std::vector<uint8_t> CapabilityBlock(const SimCapability& capability);
// The platform's converter between a camera's subtype and an RGB24 input ("" for RGB24 itself),
// or null for a subtype no converter of the platform takes.
const char* ConverterFor(const platform::Guid& subtype);
// The pixel bytes of a test frame of that size: bottom-up BGR rows padded to 4 bytes.
std::vector<uint8_t> TestFrame(int32_t width, int32_t height);
// The bytes of one RGB24 row of that width, padded to 4 bytes (64-bit: no width overflows it).
int64_t Rgb24Stride(int32_t width);

// A grabber whose input is connected with the given format type and block and which holds the
// given sample, without a camera or a graph around it: for driving the still capture with any
// media type and buffer. Release it like any grabber.
platform::SampleGrabber InjectGrabberFrame(const platform::Guid& formatType,
                                           std::vector<uint8_t> formatBlock,
                                           std::vector<uint8_t> sample);

} // namespace sim
