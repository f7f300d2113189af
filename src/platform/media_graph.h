// What the preview graph and the still capture need of the media framework: the filter graph and
// its interfaces, the capture graph builder, the sample grabber, the video mixing renderer 9, the
// null renderer, the capture pin's stream configuration, pins, media types and the task allocator.
#pragma once

#include "platform/media.h"
#include "platform/types.h"

#include <cstddef>
#include <cstdint>

namespace platform {

struct GraphObjectTag;
struct FilterGraphTag;
struct GraphBuilderTag;
struct MediaControlTag;
struct VideoWindowTag;
struct CaptureBuilderTag;
struct SampleGrabberTag;
struct StreamConfigTag;
struct PinTag;
struct PinListTag;
struct MediaEventTag;

using GraphObject = GraphObjectTag*;       // the filter graph object as created (IUnknown)
using FilterGraph = FilterGraphTag*;       // IFilterGraph
using GraphBuilder = GraphBuilderTag*;     // IGraphBuilder
using MediaControl = MediaControlTag*;     // IMediaControl
using VideoWindow = VideoWindowTag*;       // IVideoWindow
using CaptureBuilder = CaptureBuilderTag*; // ICaptureGraphBuilder2
using SampleGrabber = SampleGrabberTag*;   // ISampleGrabber
using StreamConfig = StreamConfigTag*;     // IAMStreamConfig
using Pin = PinTag*;                       // IPin
using PinList = PinListTag*;               // IEnumPins
using MediaEvent = MediaEventTag*;         // IMediaEventEx

// Laid out as the framework's AM_MEDIA_TYPE, so that the bindings hand records over unchanged.
struct MediaType {
    Guid majorType;
    Guid subtype;
    int32_t fixedSizeSamples;
    int32_t temporalCompression;
    uint32_t sampleSize;
    Guid formatType;
    void* unknown; // IUnknown, released with ReleaseUnknown
    uint32_t formatSize;
    uint8_t* format; // task memory
};

constexpr Guid kMediaTypeVideo = {
    0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr Guid kMediaSubtypeRgb24 = {
    0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr Guid kFormatVideoInfo = {
    0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
constexpr Guid kFormatVideoInfo2 = {
    0xF72A76A0, 0xEB0A, 0x11D0, {0xAC, 0xE4, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA}};
constexpr Guid kNullGuid = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

bool SameGuid(const Guid& a, const Guid& b);

// The video-info format block: its size and where the fields the tool changes lie in it.
constexpr uint32_t kVideoInfoSize = 88;
constexpr uint32_t kAvgTimePerFrameOffset = 40;
constexpr uint32_t kBitmapInfoOffset = 48;
constexpr uint32_t kBitmapWidthOffset = 52;
constexpr uint32_t kBitmapHeightOffset = 56;
// The second video-info block: the same rectangles, rates and frame time, then interlace, copy
// protection, picture aspect ratio and control flags before the bitmap header.
constexpr uint32_t kVideoInfo2Size = 112;
constexpr uint32_t kVideoInfo2InterlaceOffset = 48;
constexpr uint32_t kVideoInfo2CopyProtectOffset = 52;
constexpr uint32_t kVideoInfo2AspectXOffset = 56;
constexpr uint32_t kVideoInfo2AspectYOffset = 60;
constexpr uint32_t kVideoInfo2BitmapInfoOffset = 72;
constexpr uint32_t kVideoInfo2BitmapWidthOffset = 76;
constexpr uint32_t kVideoInfo2BitmapHeightOffset = 80;

constexpr int kPinInput = 0;  // PINDIR_INPUT
constexpr int kPinOutput = 1; // PINDIR_OUTPUT

constexpr HResult kNotConnected = static_cast<HResult>(0x80040209u); // VFW_E_NOT_CONNECTED
// The grabber's answer while its graph runs and no sample has arrived yet.
constexpr HResult kNoSampleYet = static_cast<HResult>(0x80040227u); // VFW_E_WRONG_STATE

// CoCreateInstance of the filter graph (in-process server and handler) as IUnknown.
HResult CreateFilterGraph(GraphObject* out);
HResult QueryFilterGraph(GraphObject graph, FilterGraph* out);
HResult QueryGraphBuilder(GraphObject graph, GraphBuilder* out);
HResult QueryMediaControl(GraphObject graph, MediaControl* out);
HResult QueryVideoWindow(GraphBuilder builder, VideoWindow* out);
// CoCreateInstance of the capture graph builder, the sample grabber and the VMR-9.
HResult CreateCaptureBuilder(CaptureBuilder* out);
HResult CreateSampleGrabber(Filter* out);
HResult QuerySampleGrabber(Filter filter, SampleGrabber* out);
HResult CreateVideoRenderer(Filter* out);
// CoCreateInstance of the null renderer (qedit): it takes any media type on its input, discards
// every sample and opens no window.
HResult CreateNullRenderer(Filter* out);
// IFilterGraph::AddFilter with an ASCII name.
HResult AddFilterToGraph(FilterGraph graph, Filter filter, const char* name);

HResult GrabberSetMediaType(SampleGrabber grabber, const MediaType& type);
HResult GrabberSetBufferSamples(SampleGrabber grabber, bool buffer);
// GetCurrentBuffer: with a null buffer the size of the latest sample; else a copy into it.
HResult GrabberCurrentBuffer(SampleGrabber grabber, int32_t* size, void* buffer);
HResult GrabberConnectedMediaType(SampleGrabber grabber, MediaType* type);

HResult CaptureBuilderSetGraph(CaptureBuilder builder, GraphBuilder graph);
// FindInterface(PIN_CATEGORY_CAPTURE, MEDIATYPE_Video, filter, IAMStreamConfig).
HResult FindCaptureStreamConfig(CaptureBuilder builder, Filter filter, StreamConfig* out);
// RenderStream(no category, MEDIATYPE_Video, source, intermediate, sink).
HResult RenderVideoStream(CaptureBuilder builder, Filter source, Filter intermediate, Filter sink);

// GetNumberOfCapabilities: the number of capabilities and the size of the pin's caps record.
HResult StreamCapsCount(StreamConfig config, int32_t* count, int32_t* capsSize);
// What the tool reads of one video caps record: its InputSize and the frame times (100 ns) the
// entry allows, MinFrameInterval to MaxFrameInterval.
struct StreamCapsEntry {
    int32_t width = 0;
    int32_t height = 0;
    int64_t minFrameInterval = 0;
    int64_t maxFrameInterval = 0;
};
// GetStreamCaps into a caps record of the size the pin reported (a size no caps record can have
// is refused): a media type (task memory, DestroyMediaType frees it) and the caps' entry.
HResult StreamCaps(StreamConfig config, int32_t index, int32_t capsSize, MediaType** type,
                   StreamCapsEntry* entry);
HResult StreamGetFormat(StreamConfig config, MediaType** type);
HResult StreamSetFormat(StreamConfig config, MediaType* type);
HResult QueryStreamConfig(Pin pin, StreamConfig* out);

HResult EnumeratePins(Filter filter, PinList* out);
// IEnumPins::Next(1): the next pin, or null at the end.
Pin NextPin(PinList list);
HResult PinDirection(Pin pin, int* direction);
// IPin::ConnectedTo: S_OK and the peer, or a failure when not connected.
HResult PinConnectedTo(Pin pin, Pin* peer);

HResult GraphRun(MediaControl control);
HResult GraphStop(MediaControl control);
HResult GraphState(MediaControl control, int32_t timeoutMs, int32_t* state);
// IBaseFilter::Pause and Stop of one filter, outside its graph's own state changes: the camera's
// own answer where the graph gives only a generic one.
HResult FilterPause(Filter filter);
HResult FilterStop(Filter filter);

// The graph's event queue, asked through the graph's media control.
HResult QueryMediaEvent(MediaControl control, MediaEvent* out);
// IMediaEventEx::GetEvent with no wait, its parameters freed at once (FreeEventParams): S_OK with
// the event's code and second parameter, or E_ABORT when the queue is empty.
HResult NextGraphEvent(MediaEvent events, int32_t* code, intptr_t* param2);
// EC_DEVICE_LOST: a device of the graph went (second parameter 0) or came back (1).
constexpr int32_t kEventDeviceLost = 0x1F;

HResult VideoWindowVisible(VideoWindow window, bool visible);
HResult VideoWindowStyle(VideoWindow window, int32_t style);
HResult VideoWindowOwner(VideoWindow window, Window owner);
HResult VideoWindowPosition(VideoWindow window, int x, int y, int width, int height);

void* AllocateTaskMemory(size_t size);
void FreeTaskMemory(void* block);
void ReleaseUnknown(void* unknown);

void Release(GraphObject graph);
void Release(FilterGraph graph);
void Release(GraphBuilder builder);
void Release(MediaControl control);
void Release(VideoWindow window);
void Release(CaptureBuilder builder);
void Release(SampleGrabber grabber);
void Release(StreamConfig config);
void Release(Pin pin);
void Release(PinList list);
void Release(MediaEvent events);

} // namespace platform
