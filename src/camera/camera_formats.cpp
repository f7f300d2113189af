#include "camera/camera_formats.h"

#include "camera/capture_filters.h"
#include "camera/media_types.h"
#include "platform/held.h"

#include <cstdio>

using namespace platform;

HResult ReadCameraFormats(int slot, std::vector<CameraFormat>* formats) {
    formats->clear();
    Held<GraphObject> object;
    Held<FilterGraph> graph;
    Held<GraphBuilder> builder;
    Held<CaptureBuilder> captureBuilder;
    Held<Filter> camera;
    Held<StreamConfig> config;
    HResult result = CreateFilterGraph(object.Receive());
    if (!Failed(result))
        result = QueryFilterGraph(object.Get(), graph.Receive());
    if (!Failed(result))
        result = QueryGraphBuilder(object.Get(), builder.Receive());
    if (!Failed(result))
        result = CreateCaptureBuilder(captureBuilder.Receive());
    if (!Failed(result)) {
        *camera.Receive() = BindCameraIntoGraph(slot, graph.Get(), &result);
        if (!camera)
            return Failed(result) ? result : kFail;
    }
    if (!Failed(result))
        result = CaptureBuilderSetGraph(captureBuilder.Get(), builder.Get());
    if (!Failed(result) &&
        FindCaptureStreamConfig(captureBuilder.Get(), camera.Get(), config.Receive()) != kOk)
        result = kFail;
    int32_t count = 0, capsSize = 0;
    if (!Failed(result))
        result = StreamCapsCount(config.Get(), &count, &capsSize);
    for (int32_t i = 0; !Failed(result) && i < count; ++i) {
        MediaType* type = nullptr;
        StreamCapsEntry entry;
        result = StreamCaps(config.Get(), i, capsSize, &type, &entry);
        if (Failed(result))
            break;
        formats->push_back({type ? type->subtype : kNullGuid, entry.width, entry.height,
                            entry.minFrameInterval, entry.maxFrameInterval});
        DestroyMediaType(type);
    }
    return Failed(result) ? result : kOk;
}

std::string SubtypeText(const Guid& subtype) {
    if (SameGuid(subtype, kMediaSubtypeRgb24))
        return "RGB24";
    // A FourCC subtype is the FourCC followed by the media type's common tail.
    Guid tail = kMediaTypeVideo;
    tail.data1 = subtype.data1;
    bool printable = true;
    std::string fourCc;
    for (int shift = 0; shift < 32; shift += 8) {
        const char c = static_cast<char>((subtype.data1 >> shift) & 0xFF);
        printable = printable && c >= 0x20 && c < 0x7F;
        fourCc += c;
    }
    if (SameGuid(subtype, tail) && printable)
        return fourCc;
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(subtype.data1), subtype.data2, subtype.data3,
                  subtype.data4[0], subtype.data4[1], subtype.data4[2], subtype.data4[3],
                  subtype.data4[4], subtype.data4[5], subtype.data4[6], subtype.data4[7]);
    return text;
}
