// The media graph operations on the simulated graph model.
#include "platform/sim/sim_graph.h"

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace sim {

using platform::HResult;

namespace {

constexpr HResult kNoInterface = platform::kNoInterface;

// Every graph interface is a small object that knows what it stands for.
struct GraphObj {
    int camera;     // the camera of a pin or a stream configuration, else -1
    bool peer;      // a pin handed out as a connected peer
    int graph;      // the filter graph an interface of the graph object belongs to, else 0
    int generation; // the camera's generation for a pin or a stream configuration
};

template <class Handle>
Handle NewObject(int camera = -1, bool peer = false, int graph = 0, int generation = 0) {
    Graph().objectsAlive++;
    if (graph) {
        GraphModel::GraphInstance& instance = Graph().graphs[graph];
        if (instance.references++ == 0)
            Graph().graphsAlive++;
    }
    return reinterpret_cast<Handle>(new GraphObj{camera, peer, graph, generation});
}

// The graph object loses its last interface: it stops, disconnects its filters and lets them go.
void DestroyGraph(int id) {
    GraphModel& g = Graph();
    std::vector<platform::Filter> filters = std::move(g.graphs[id].filters);
    g.graphs.erase(id);
    g.graphsAlive--;
    // The renderer's window goes with the graph; one still owned by a window of the tool is torn
    // out of its owner's child list behind the tool's back.
    if (g.windowGraph == id) {
        if (g.windowOwner)
            g.faults.push_back("video window released with an owner");
        g.windowGraph = 0;
        g.windowOwner = nullptr;
    }
    if (g.connectedGraph == id) {
        g.connected = false;
        g.connectedCamera = -1;
        g.connectedGraph = 0;
        g.connectedSource = nullptr;
        g.state = 0;
        g.hasSample = false;
        g.streamHalted = false;
    }
    for (platform::Filter f : filters)
        platform::Release(f);
}

template <class Handle> void DeleteObject(Handle handle) {
    GraphObj* object = reinterpret_cast<GraphObj*>(handle);
    if (!object)
        throw std::logic_error("null graph interface released");
    Graph().objectsAlive--;
    const int graph = object->graph;
    delete object;
    if (graph && --Graph().graphs[graph].references == 0)
        DestroyGraph(graph);
}

template <class Handle> GraphObj* Obj(Handle handle) {
    return reinterpret_cast<GraphObj*>(handle);
}

bool InGraph(int graph, platform::Filter filter) {
    auto it = Graph().graphs.find(graph);
    if (it == Graph().graphs.end())
        return false;
    for (platform::Filter f : it->second.filters)
        if (f == filter)
            return true;
    return false;
}

// A stream configuration or pin of a camera whose device went answers as the device would.
bool Dead(const GraphObj* object) {
    return object->camera >= 0 && CameraGone(object->camera, object->generation);
}

// The configured failure of a step, or 0.
HResult Fails(const std::string& step) {
    auto it = Graph().failures.find(step);
    return it == Graph().failures.end() ? 0 : it->second;
}

template <class Handle> HResult Make(const std::string& step, Handle* out, int graph = 0) {
    *out = nullptr;
    if (HResult failure = Fails(step))
        return failure;
    *out = NewObject<Handle>(-1, false, graph);
    Graph().calls.push_back(step);
    return platform::kOk;
}

void PutInt32(std::vector<uint8_t>& block, uint32_t offset, int32_t value) {
    std::memcpy(block.data() + offset, &value, sizeof value);
}

int32_t GetInt32(const uint8_t* block, uint32_t offset) {
    int32_t value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}

platform::MediaType* NewMediaType(const SimCapability& capability) {
    auto* type = static_cast<platform::MediaType*>(
        platform::AllocateTaskMemory(sizeof(platform::MediaType)));
    *type = platform::MediaType{};
    type->majorType = platform::kMediaTypeVideo;
    type->subtype = capability.subtype;
    type->formatType = capability.formatType;
    std::vector<uint8_t> block = CapabilityBlock(capability);
    type->formatSize = static_cast<uint32_t>(block.size());
    type->format = static_cast<uint8_t*>(platform::AllocateTaskMemory(block.size()));
    std::memcpy(type->format, block.data(), block.size());
    Graph().liveMediaTypes.insert(type);
    Graph().mediaTypesAlive++;
    return type;
}

} // namespace

GraphModel& Graph() {
    static GraphModel model;
    return model;
}

void ResetGraph() {
    // Blocks a test left behind are the test's leak, not the next test's.
    for (void* block : Graph().liveBlocks)
        std::free(block);
    Graph() = GraphModel();
}

void CameraUnplugged(int camera, bool midFrame) {
    GraphModel& g = Graph();
    if (Camera(camera).sendsDeviceLost)
        for (auto& [id, instance] : g.graphs)
            for (platform::Filter f : instance.filters)
                if (CameraOfFilter(f) == camera && FilterDeviceGone(f)) {
                    instance.events.push_back({platform::kEventDeviceLost, 0});
                    break;
                }
    if (!g.connected || g.connectedCamera != camera || !g.connectedSource ||
        !FilterDeviceGone(g.connectedSource))
        return;
    g.streamHalted = true;
    if (g.hasSample && TheDesktop().now < g.firstSampleAt)
        g.hasSample = false; // the first frame was still on its way
    else if (midFrame && g.hasSample)
        g.sample.resize(g.sample.size() / 2);
}

std::vector<uint8_t> VideoInfoBlock(int32_t width, int32_t height) {
    std::vector<uint8_t> block(platform::kVideoInfoSize, 0);
    PutInt32(block, platform::kBitmapInfoOffset, 40);
    PutInt32(block, platform::kBitmapWidthOffset, width);
    PutInt32(block, platform::kBitmapHeightOffset, height);
    block[platform::kBitmapInfoOffset + 12] = 1;  // planes
    block[platform::kBitmapInfoOffset + 14] = 24; // bits per pixel
    // biSizeImage is a 32-bit field: a frame too large for it states 0, as uncompressed RGB may.
    const int64_t image = Rgb24Stride(width) * (height < 0 ? -int64_t{height} : int64_t{height});
    PutInt32(block, platform::kBitmapInfoOffset + 20,
             image > INT32_MAX ? 0 : static_cast<int32_t>(image));
    return block;
}

int64_t Rgb24Stride(int32_t width) {
    return (int64_t{width} * 3 + 3) / 4 * 4;
}

std::vector<uint8_t> FormatBlock(const platform::Guid& formatType, int32_t width, int32_t height) {
    if (!platform::SameGuid(formatType, platform::kFormatVideoInfo2)) {
        std::vector<uint8_t> block = VideoInfoBlock(width, height);
        if (!platform::SameGuid(formatType, platform::kFormatVideoInfo))
            std::fill(block.begin(), block.end(), static_cast<uint8_t>(0x5A));
        return block;
    }
    // The bitmap header of a video-info block, moved behind the fields of the second block.
    const std::vector<uint8_t> first = VideoInfoBlock(width, height);
    std::vector<uint8_t> block(platform::kVideoInfo2Size, 0);
    std::copy(first.begin(), first.begin() + platform::kBitmapInfoOffset, block.begin());
    std::copy(first.begin() + platform::kBitmapInfoOffset, first.end(),
              block.begin() + platform::kVideoInfo2BitmapInfoOffset);
    PutInt32(block, platform::kVideoInfo2AspectXOffset, 16);
    PutInt32(block, platform::kVideoInfo2AspectYOffset, 9);
    return block;
}

std::vector<uint8_t> CapabilityBlock(const SimCapability& capability) {
    std::vector<uint8_t> block =
        FormatBlock(capability.formatType, capability.width, capability.height);
    const bool second = platform::SameGuid(capability.formatType, platform::kFormatVideoInfo2);
    if (!second && !platform::SameGuid(capability.formatType, platform::kFormatVideoInfo))
        return block;
    const uint32_t header =
        second ? platform::kVideoInfo2BitmapInfoOffset : platform::kBitmapInfoOffset;
    std::memcpy(block.data() + platform::kAvgTimePerFrameOffset, &capability.minFrameInterval, 8);
    if (capability.compression != 0) {
        PutInt32(block, header + 16, static_cast<int32_t>(capability.compression));
        const int64_t image =
            int64_t{capability.width} * capability.height * capability.bitCount / 8;
        PutInt32(block, header + 20, image > INT32_MAX ? 0 : static_cast<int32_t>(image));
    }
    block[header + 14] = static_cast<uint8_t>(capability.bitCount);
    return block;
}

std::vector<uint8_t> TestFrame(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return {};
    const int64_t stride = Rgb24Stride(width);
    std::vector<uint8_t> frame(static_cast<size_t>(stride * height), 0);
    for (int64_t y = 0; y < height; ++y)
        for (int64_t x = 0; x < width; ++x)
            frame[static_cast<size_t>(y * stride + x * 3)] = static_cast<uint8_t>(x + y);
    return frame;
}

platform::SampleGrabber InjectGrabberFrame(const platform::Guid& formatType,
                                           std::vector<uint8_t> formatBlock,
                                           std::vector<uint8_t> sample) {
    GraphModel& g = Graph();
    g.connected = true;
    g.state = 2;
    g.autoSample = false;
    g.hasSample = true;
    g.firstSampleAt = 0;
    g.connectedFormatType = formatType;
    g.connectedFormat = std::move(formatBlock);
    g.sample = std::move(sample);
    return NewObject<platform::SampleGrabber>();
}

const char* ConverterFor(const platform::Guid& subtype) {
    static const struct {
        platform::Guid subtype;
        const char* converter;
    } kConverters[] = {
        {platform::kMediaSubtypeRgb24, ""},
        {kSubtypeYuy2, "AVI Decompressor"},
        {kSubtypeMjpg, "MJPEG Decompressor"},
    };
    for (const auto& row : kConverters)
        if (platform::SameGuid(row.subtype, subtype))
            return row.converter;
    return nullptr;
}

} // namespace sim

namespace platform {

using sim::Graph;

bool SameGuid(const Guid& a, const Guid& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

HResult CreateFilterGraph(GraphObject* out) {
    const int id = Graph().nextGraphId;
    HResult result = sim::Make("CreateFilterGraph", out, id);
    if (!Failed(result))
        Graph().nextGraphId++;
    return result;
}
HResult QueryFilterGraph(GraphObject graph, FilterGraph* out) {
    return sim::Make("QueryFilterGraph", out, sim::Obj(graph)->graph);
}
HResult QueryGraphBuilder(GraphObject graph, GraphBuilder* out) {
    return sim::Make("QueryGraphBuilder", out, sim::Obj(graph)->graph);
}
HResult QueryMediaControl(GraphObject graph, MediaControl* out) {
    return sim::Make("QueryMediaControl", out, sim::Obj(graph)->graph);
}
HResult QueryVideoWindow(GraphBuilder builder, VideoWindow* out) {
    const HResult result = sim::Make("QueryVideoWindow", out, sim::Obj(builder)->graph);
    if (!Failed(result))
        Graph().windowGraph = sim::Obj(builder)->graph;
    return result;
}
HResult QueryMediaEvent(MediaControl control, MediaEvent* out) {
    return sim::Make("QueryMediaEvent", out, sim::Obj(control)->graph);
}
HResult NextGraphEvent(MediaEvent events, int32_t* code, intptr_t* param2) {
    auto it = Graph().graphs.find(sim::Obj(events)->graph);
    if (it == Graph().graphs.end() || it->second.events.empty())
        return static_cast<HResult>(0x80004004u); // E_ABORT: nothing within the time-out
    *code = it->second.events.front().first;
    *param2 = it->second.events.front().second;
    it->second.events.erase(it->second.events.begin());
    return kOk;
}
HResult CreateCaptureBuilder(CaptureBuilder* out) {
    return sim::Make("CreateCaptureBuilder", out);
}

HResult CreateSampleGrabber(Filter* out) {
    *out = nullptr;
    if (HResult failure = sim::Fails("CreateSampleGrabber"))
        return failure;
    *out = sim::NewFilter(sim::kGrabberFilter);
    return kOk;
}

HResult QuerySampleGrabber(Filter, SampleGrabber* out) {
    return sim::Make("QuerySampleGrabber", out);
}

HResult CreateVideoRenderer(Filter* out) {
    *out = nullptr;
    if (HResult failure = sim::Fails("CreateVideoRenderer"))
        return failure;
    *out = sim::NewFilter(sim::kRendererFilter);
    return kOk;
}

HResult CreateNullRenderer(Filter* out) {
    *out = nullptr;
    if (HResult failure = sim::Fails("CreateNullRenderer"))
        return failure;
    *out = sim::NewFilter(sim::kNullRendererFilter);
    return kOk;
}

HResult AddFilterToGraph(FilterGraph graph, Filter filter, const char* name) {
    const std::string step = std::string("AddFilter ") + name;
    if (HResult failure = sim::Fails(step))
        return failure;
    if (!graph || !filter)
        return static_cast<HResult>(0x80004003u); // E_POINTER
    AddRef(filter);                               // the graph keeps the filter until it goes itself
    Graph().graphs[sim::Obj(graph)->graph].filters.push_back(filter);
    Graph().calls.push_back(step);
    return kOk;
}

HResult GrabberSetMediaType(SampleGrabber, const MediaType& type) {
    Graph().calls.push_back(SameGuid(type.subtype, kMediaSubtypeRgb24) && !type.format
                                ? "GrabberSetMediaType RGB24"
                                : "GrabberSetMediaType other");
    return kOk;
}

HResult GrabberSetBufferSamples(SampleGrabber, bool buffer) {
    Graph().calls.push_back(buffer ? "SetBufferSamples 1" : "SetBufferSamples 0");
    return kOk;
}

HResult GrabberCurrentBuffer(SampleGrabber, int32_t* size, void* buffer) {
    sim::GraphModel& g = Graph();
    if (g.beforeGrabberCall)
        g.beforeGrabberCall();
    if (!g.connected)
        return kNotConnected;
    if (!g.hasSample || sim::TheDesktop().now < g.firstSampleAt)
        return kNoSampleYet;
    if (!buffer) {
        *size = static_cast<int32_t>(g.sample.size());
        return kOk;
    }
    if (*size < static_cast<int32_t>(g.sample.size()))
        return static_cast<HResult>(0x8007000Eu);
    if (sim::TheDesktop().now < g.firstSampleAt + g.darkForMs)
        std::memset(buffer, 0, g.sample.size());
    else
        std::memcpy(buffer, g.sample.data(), g.sample.size());
    *size = static_cast<int32_t>(g.sample.size());
    return kOk;
}

HResult GrabberConnectedMediaType(SampleGrabber, MediaType* type) {
    sim::GraphModel& g = Graph();
    if (g.beforeGrabberCall)
        g.beforeGrabberCall();
    if (!g.connected)
        return kNotConnected;
    if (g.connectedTypeResult < 0)
        return g.connectedTypeResult;
    *type = MediaType{};
    type->majorType = kMediaTypeVideo;
    type->subtype = kMediaSubtypeRgb24;
    type->formatType = g.connectedFormatType;
    type->formatSize = static_cast<uint32_t>(g.connectedFormat.size());
    if (!g.connectedFormat.empty()) {
        type->format = static_cast<uint8_t*>(AllocateTaskMemory(g.connectedFormat.size()));
        std::memcpy(type->format, g.connectedFormat.data(), g.connectedFormat.size());
    }
    return kOk;
}

HResult CaptureBuilderSetGraph(CaptureBuilder builder, GraphBuilder graph) {
    if (HResult failure = sim::Fails("SetFiltergraph"))
        return failure;
    sim::Obj(builder)->camera = sim::Obj(graph)->graph; // the builder's graph, not a reference
    Graph().calls.push_back("SetFiltergraph");
    return kOk;
}

HResult FindCaptureStreamConfig(CaptureBuilder, Filter filter, StreamConfig* out) {
    *out = nullptr;
    const int camera = sim::CameraOfFilter(filter);
    if (camera < 0 || !sim::Camera(camera).hasStreamConfig)
        return kNoInterface;
    *out = sim::NewObject<StreamConfig>(camera, false, 0, sim::FilterGeneration(filter));
    return kOk;
}

HResult RenderVideoStream(CaptureBuilder builder, Filter source, Filter intermediate, Filter sink) {
    sim::GraphModel& g = Graph();
    g.calls.push_back("RenderStream");
    if (HResult failure = sim::Fails("RenderStream"))
        return failure;
    const int camera = sim::CameraOfFilter(source);
    if (camera < 0)
        return kFail;
    const int graph = sim::Obj(builder)->camera;
    if (!sim::InGraph(graph, source) || !sim::InGraph(graph, intermediate) ||
        !sim::InGraph(graph, sink))
        return static_cast<HResult>(0x8004025Fu); // VFW_E_NOT_IN_GRAPH
    // The grabber has one input and one output, and only a renderer takes the stream's end: any
    // other filter there has no input pin to connect.
    const int sinkKind = sim::CameraOfFilter(sink);
    if (sim::CameraOfFilter(intermediate) != sim::kGrabberFilter ||
        (sinkKind != sim::kRendererFilter && sinkKind != sim::kNullRendererFilter))
        return static_cast<HResult>(0x80040217u); // VFW_E_CANNOT_CONNECT
    if (sim::FilterDeviceGone(source))
        return sim::kDeviceNotConnected;
    // The grabber takes RGB24 only: a camera of another subtype connects through the platform's
    // converter for it, and a subtype none converts does not connect.
    const sim::SimCapability& streamed = sim::Camera(camera).current;
    const char* through = sim::ConverterFor(streamed.subtype);
    if (!through)
        return static_cast<HResult>(0x80040217u); // VFW_E_CANNOT_CONNECT
    g.connectedThrough = through;
    g.connected = true;
    g.connectedSinkKind = sinkKind;
    g.connectedCamera = camera;
    g.connectedGraph = graph;
    g.connectedSource = source;
    g.streamHalted = false;
    const sim::SimCapability& current = sim::Camera(camera).current;
    g.connectedFormatType = kFormatVideoInfo;
    g.connectedFormat = sim::VideoInfoBlock(current.width, current.height);
    return kOk;
}

HResult StreamCapsCount(StreamConfig config, int32_t* count, int32_t* capsSize) {
    if (sim::Dead(sim::Obj(config)) && !sim::Camera(sim::Obj(config)->camera).capsCountAfterUnplug)
        return sim::kDeviceNotConnected;
    const sim::SimCamera& camera = sim::Camera(sim::Obj(config)->camera);
    *count = static_cast<int32_t>(camera.capabilities.size());
    *capsSize = camera.capsSize;
    return kOk;
}

HResult StreamCaps(StreamConfig config, int32_t index, int32_t capsSize, MediaType** type,
                   StreamCapsEntry* entry) {
    if (sim::Dead(sim::Obj(config)))
        return sim::kDeviceNotConnected;
    const sim::SimCamera& camera = sim::Camera(sim::Obj(config)->camera);
    // The pin writes a whole caps record of its own size: a smaller buffer would overflow.
    if (capsSize < camera.capsSize)
        return static_cast<HResult>(0x80004003u); // E_POINTER
    const auto& caps = camera.capabilities;
    if (index < 0 || index >= static_cast<int32_t>(caps.size()))
        return static_cast<HResult>(0x80070057u);
    *type = sim::NewMediaType(caps[index]);
    entry->width = caps[index].width;
    entry->height = caps[index].height;
    entry->minFrameInterval = caps[index].minFrameInterval;
    entry->maxFrameInterval = caps[index].maxFrameInterval;
    return kOk;
}

HResult StreamGetFormat(StreamConfig config, MediaType** type) {
    if (sim::Dead(sim::Obj(config)))
        return sim::kDeviceNotConnected;
    *type = sim::NewMediaType(sim::Camera(sim::Obj(config)->camera).current);
    return kOk;
}

HResult StreamSetFormat(StreamConfig config, MediaType* type) {
    if (sim::Dead(sim::Obj(config)))
        return sim::kDeviceNotConnected;
    const int camera = sim::Obj(config)->camera;
    sim::FormatRequest request{camera, type->subtype, 0, 0, 0, type->formatType, {}};
    if (type->format)
        request.format.assign(type->format, type->format + type->formatSize);
    // The pin reads the fields where the block's type keeps them.
    const bool second = SameGuid(type->formatType, kFormatVideoInfo2);
    const bool video = second || SameGuid(type->formatType, kFormatVideoInfo);
    const uint32_t size = second ? kVideoInfo2Size : kVideoInfoSize;
    const uint32_t header = second ? kVideoInfo2BitmapInfoOffset : kBitmapInfoOffset;
    const bool complete = SameGuid(type->majorType, kMediaTypeVideo) && video && type->format &&
                          type->formatSize >= size;
    uint32_t compression = 0;
    uint16_t bitCount = 0;
    if (complete) {
        request.width =
            sim::GetInt32(type->format, second ? kVideoInfo2BitmapWidthOffset : kBitmapWidthOffset);
        request.height = sim::GetInt32(type->format, second ? kVideoInfo2BitmapHeightOffset
                                                            : kBitmapHeightOffset);
        std::memcpy(&request.avgTimePerFrame, type->format + kAvgTimePerFrameOffset, 8);
        compression = static_cast<uint32_t>(sim::GetInt32(type->format, header + 16));
        std::memcpy(&bitCount, type->format + header + 14, sizeof bitCount);
    }
    // As a capture pin does: a type is taken only when one listed entry describes it whole, and
    // a frame time other than 0 ("any") must lie in that entry's range.
    const int64_t frameTime = request.avgTimePerFrame;
    for (const sim::SimCapability& c : sim::Camera(camera).capabilities)
        if (complete && c.width == request.width && c.height == request.height &&
            SameGuid(c.subtype, type->subtype) && SameGuid(c.formatType, type->formatType) &&
            c.compression == compression && c.bitCount == bitCount &&
            (frameTime == 0 ||
             (frameTime >= c.minFrameInterval && frameTime <= c.maxFrameInterval))) {
            sim::Camera(camera).current = c;
            Graph().formatRequests.push_back(request);
            return kOk;
        }
    request.result = kInvalidMediaType;
    Graph().formatRequests.push_back(request);
    return kInvalidMediaType;
}

HResult QueryStreamConfig(Pin pin, StreamConfig* out) {
    *out = nullptr;
    const int camera = sim::Obj(pin)->camera;
    if (camera < 0 || !sim::Camera(camera).hasStreamConfig)
        return kNoInterface;
    *out = sim::NewObject<StreamConfig>(camera, false, 0, sim::Obj(pin)->generation);
    return kOk;
}

HResult EnumeratePins(Filter filter, PinList* out) {
    const int camera = sim::CameraOfFilter(filter);
    *out =
        sim::NewObject<PinList>(camera, false, 0, camera >= 0 ? sim::FilterGeneration(filter) : 0);
    return kOk;
}

Pin NextPin(PinList list) {
    // One output pin per camera filter.
    sim::GraphObj* object = sim::Obj(list);
    if (object->peer)
        return nullptr;
    object->peer = true; // used up
    return sim::NewObject<Pin>(object->camera, false, 0, object->generation);
}

HResult PinDirection(Pin, int* direction) {
    *direction = kPinOutput;
    return kOk;
}

HResult PinConnectedTo(Pin pin, Pin* peer) {
    *peer = nullptr;
    if (!Graph().connected || Graph().connectedCamera != sim::Obj(pin)->camera)
        return kNotConnected;
    *peer = sim::NewObject<Pin>(-1, true);
    return kOk;
}

HResult GraphRun(MediaControl control) {
    sim::GraphModel& g = Graph();
    g.calls.push_back("Run");
    if (HResult failure = sim::Fails("Run"))
        return failure;
    // A source whose device went refuses to pause, and the graph stays where it was.
    if (g.connected && g.connectedGraph == sim::Obj(control)->graph && g.connectedSource &&
        sim::FilterDeviceGone(g.connectedSource))
        return sim::kDeviceNotConnected;
    g.state = 2;
    if (g.runFailsWhenAsked != 0)
        return kFalse; // no sample ever comes
    if (g.connected && g.autoSample && !g.streamHalted) {
        const sim::SimCapability& current = sim::Camera(g.connectedCamera).current;
        g.sample = sim::TestFrame(current.width, current.height);
        // A sample kept from an earlier run is still there; a first one comes after the delay.
        if (!g.hasSample)
            g.firstSampleAt = sim::TheDesktop().now + g.firstSampleAfterMs;
        g.hasSample = true;
    }
    return kFalse;
}

HResult FilterPause(Filter) {
    Graph().calls.push_back("FilterPause");
    return Graph().runFailsWhenAsked;
}

HResult FilterStop(Filter) {
    Graph().calls.push_back("FilterStop");
    return kOk;
}

HResult GraphStop(MediaControl) {
    Graph().calls.push_back("Stop");
    Graph().state = 0;
    return kOk;
}

HResult GraphState(MediaControl, int32_t timeoutMs, int32_t* state) {
    if (Graph().stateSettlesAfterMs > 0 && timeoutMs > 0)
        sim::BlockToolThread(
            std::min(Graph().stateSettlesAfterMs, static_cast<uint32_t>(timeoutMs)));
    *state = Graph().state;
    if (Graph().runFailsWhenAsked != 0 && Graph().state == 2)
        return kFail;
    return kOk;
}

HResult VideoWindowVisible(VideoWindow, bool visible) {
    Graph().windowVisible = visible;
    return kOk;
}

HResult VideoWindowStyle(VideoWindow, int32_t style) {
    Graph().windowStyle = style;
    return kOk;
}

HResult VideoWindowOwner(VideoWindow, Window owner) {
    Graph().windowOwner = owner;
    return kOk;
}

HResult VideoWindowPosition(VideoWindow, int x, int y, int width, int height) {
    sim::GraphModel& g = Graph();
    g.windowX = x;
    g.windowY = y;
    g.windowWidth = width;
    g.windowHeight = height;
    return kOk;
}

void* AllocateTaskMemory(size_t size) {
    Graph().taskBlocksAlive++;
    Graph().taskBytes += size;
    void* block = std::malloc(size ? size : 1);
    Graph().liveBlocks.insert(block);
    return block;
}

void FreeTaskMemory(void* block) {
    if (!block)
        return;
    sim::GraphModel& g = Graph();
    if (!g.liveBlocks.erase(block))
        throw std::logic_error("task memory freed twice or never allocated");
    if (g.liveMediaTypes.erase(block))
        g.mediaTypesAlive--;
    g.taskBlocksAlive--;
    std::free(block);
}

void ReleaseUnknown(void*) {}

void Release(GraphObject graph) {
    sim::DeleteObject(graph);
}
void Release(FilterGraph graph) {
    sim::DeleteObject(graph);
}
void Release(GraphBuilder builder) {
    sim::DeleteObject(builder);
}
void Release(MediaControl control) {
    sim::DeleteObject(control);
}
void Release(VideoWindow window) {
    sim::DeleteObject(window);
}
void Release(CaptureBuilder builder) {
    sim::DeleteObject(builder);
}
void Release(SampleGrabber grabber) {
    sim::DeleteObject(grabber);
}
void Release(StreamConfig config) {
    sim::DeleteObject(config);
}
void Release(Pin pin) {
    sim::DeleteObject(pin);
}
void Release(PinList list) {
    sim::DeleteObject(list);
}
void Release(MediaEvent events) {
    sim::DeleteObject(events);
}

} // namespace platform
