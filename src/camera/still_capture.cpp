#include "camera/still_capture.h"

#include "camera/bitmap_file.h"
#include "camera/frame_format.h"
#include "camera/media_types.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "platform/media_graph.h"
#include "platform/process.h"
#include "platform/profile.h"

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

// The longest "ImageSavePath" the capture takes: the path buffer less the terminator and the room
// a profile read leaves for it.
constexpr size_t kLongestSavePath = 254;

// "ImageSavePath" from the settings file; false for one longer than the capture takes, which a
// read limited to the buffer would cut without a word.
bool ReadSavePath(char (&path)[kImagePathSize]) {
    char text[1024] = {};
    ReadProfileString("General", "ImageSavePath", "", text, sizeof text, SettingsPath());
    text[sizeof text - 1] = '\0';
    const size_t length = std::strlen(text);
    if (length > kLongestSavePath)
        return false;
    std::memcpy(path, text, length + 1);
    return true;
}

bool SaveCounter(int32_t counter) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", counter);
    return WriteProfileString("General", "ImageCounter", text, SettingsPath());
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
        if (!PreviewGraph.Grabber || PreviewState() != kPreviewRunning)
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
    // Also refuses the first part of a frame that a camera pulled out mid-frame left behind.
    const MediaType& type = connected.type;
    if (!FrameMatchesFormat(type, static_cast<uint32_t>(size)))
        return kInvalidMediaType;
    char savePath[kImagePathSize];
    if (!ReadSavePath(savePath))
        return kFail;
    const uint8_t* info = type.format + kBitmapInfoOffset;
    const uint32_t infoSize = type.formatSize - kBitmapInfoOffset;
    const uint8_t* pixels = static_cast<const uint8_t*>(frame.data);
    if (General.IncrementImageName != 1)
        return WriteBitmapFile(savePath, info, infoSize, pixels, static_cast<uint32_t>(size));

    // The number is saved before the image is written, so that no later capture, not even one
    // of a later start, can take it and overwrite this image: a counter that cannot be saved
    // refuses the capture. A capture that then fails gives its number back, so the numbers of
    // the images written stay consecutive.
    const int32_t previous = General.ImageCounter;
    if (previous == INT32_MAX)
        return kFail; // no number left: the next one would repeat this one or wrap around
    char path[kImagePathSize];
    if (!CountedImagePath(savePath, previous + 1, path) || !SaveCounter(previous + 1))
        return kFail;
    General.ImageCounter = previous + 1;
    result = WriteBitmapFile(path, info, infoSize, pixels, static_cast<uint32_t>(size));
    if (Failed(result) && SaveCounter(previous))
        General.ImageCounter = previous;
    return result;
}
