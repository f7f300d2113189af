#include "camera/still_capture.h"

#include "camera/grabbed_frame.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "platform/media_graph.h"
#include "platform/profile.h"

#include <cstdio>
#include <cstring>

using namespace platform;

namespace {

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
    WaitForGrabberFrame(PreviewGraph.Grabber, PreviewGraph.Control, limitMs);
}

HResult CaptureStill() {
    SampleGrabber grabber = PreviewGraph.Grabber;
    if (!grabber)
        return kFail; // no graph, or a build that was abandoned
    GrabbedFrame frame;
    HResult result = frame.Take(grabber);
    if (Failed(result))
        return result;
    char savePath[kImagePathSize];
    if (!ReadSavePath(savePath))
        return kFail;
    if (General.IncrementImageName != 1)
        return frame.WriteTo(savePath);

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
    result = frame.WriteTo(path);
    if (Failed(result) && SaveCounter(previous))
        General.ImageCounter = previous;
    return result;
}
