#include "camera/still_capture.h"

#include "camera/bitmap_file.h"
#include "camera/media_types.h"
#include "camera/preview_graph.h"
#include "camera/whole_frame.h"
#include "platform/media_graph.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "settings/camera_settings.h"
#include "settings/settings_file.h"

#include <cstdio>
#include <cstring>

using namespace platform;

namespace {

constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);

// The block of one frame copy, freed however the capture ends.
struct TaskBlock {
    void* data = nullptr;
    ~TaskBlock() {
        if (data)
            FreeTaskMemory(data);
    }
};

struct ConnectedType {
    MediaType type{};
    ~ConnectedType() { ClearMediaType(type); }
};

void ReadSavePath(char (&path)[kImagePathSize]) {
    path[0] = '\0';
    ReadProfileString("General", "ImageSavePath", "", path, 255, SettingsPath());
}

} // namespace

bool CountedImagePath(const char* savePath, int32_t counter, char (&path)[kImagePathSize]) {
    const size_t length = std::strlen(savePath);
    if (length < 4)
        return false;
    char number[16];
    std::snprintf(number, sizeof number, "%.06d", counter);
    if (length - 4 + std::strlen(number) + 4 + 1 > kImagePathSize)
        return false;
    std::memcpy(path, savePath, length - 4);
    std::snprintf(path + (length - 4), kImagePathSize - (length - 4), "%s.bmp", number);
    return true;
}

void WaitForFirstFrame(uint32_t limitMs) {
    constexpr uint32_t kStepMs = 10;
    for (uint32_t waited = 0; waited < limitMs; waited += kStepMs) {
        if (!PreviewGraph.Grabber || PreviewState() != 2)
            return;
        int32_t size = 0;
        if (GrabberCurrentBuffer(PreviewGraph.Grabber, &size, nullptr) != kNoSampleYet)
            return;
        SleepFor(kStepMs);
    }
}

HResult CaptureStill() {
    SampleGrabber grabber = PreviewGraph.Grabber;
    if (!grabber)
        return kFail; // no graph, or a build that was abandoned
    int32_t size = 0;
    HResult result = GrabberCurrentBuffer(grabber, &size, nullptr);
    if (Failed(result))
        return result;
    if (size <= 0)
        return kFail; // no sample has arrived yet
    TaskBlock frame;
    frame.data = AllocateTaskMemory(static_cast<size_t>(size));
    if (!frame.data)
        return kOutOfMemory;
    int32_t copied = size;
    result = GrabberCurrentBuffer(grabber, &copied, frame.data);
    if (Failed(result))
        return result;
    if (copied != size)
        return kFail; // the sample changed size between the two reads
    ConnectedType connected;
    result = GrabberConnectedMediaType(grabber, &connected.type);
    if (Failed(result))
        return result;
    if (!HoldsWholeFrame(connected.type, size))
        return kFail; // the camera went while this frame was on its way

    char path[kImagePathSize];
    if (General.IncrementImageName == 1) {
        char savePath[kImagePathSize];
        ReadSavePath(savePath);
        const int32_t next =
            General.ImageCounter == INT32_MAX ? INT32_MAX : General.ImageCounter + 1;
        if (!CountedImagePath(savePath, next, path))
            return kFail;
        General.ImageCounter = next;
        WriteIntSetting("General", "ImageCounter", General.ImageCounter, SettingsPath());
    } else {
        ReadSavePath(path);
    }

    const MediaType& type = connected.type;
    if (!SameGuid(type.formatType, kFormatVideoInfo) || type.formatSize < kVideoInfoSize ||
        !type.format)
        return kInvalidMediaType;
    return WriteBitmapFile(path, type.format + kBitmapInfoOffset,
                           type.formatSize - kBitmapInfoOffset,
                           static_cast<const uint8_t*>(frame.data), static_cast<uint32_t>(size));
}
