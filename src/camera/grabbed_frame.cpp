#include "camera/grabbed_frame.h"

#include "camera/bitmap_file.h"
#include "camera/frame_format.h"
#include "camera/media_types.h"
#include "camera/preview_graph.h"
#include "platform/process.h"

#include <cstring>

using namespace platform;

namespace {

constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);

} // namespace

GrabbedFrame::~GrabbedFrame() {
    ClearMediaType(type_);
    if (pixels_)
        FreeTaskMemory(pixels_);
}

HResult GrabbedFrame::Take(SampleGrabber grabber) {
    int32_t size = 0;
    HResult result = GrabberCurrentBuffer(grabber, &size, nullptr);
    if (Failed(result))
        return result;
    if (size <= 0)
        return kFail; // no sample has arrived yet
    pixels_ = AllocateTaskMemory(static_cast<size_t>(size));
    if (!pixels_)
        return kOutOfMemory;
    int32_t copied = size;
    result = GrabberCurrentBuffer(grabber, &copied, pixels_);
    if (Failed(result))
        return result;
    if (copied != size)
        return kFail; // the sample changed size between the two reads
    result = GrabberConnectedMediaType(grabber, &type_);
    if (Failed(result))
        return result;
    if (!FrameMatchesFormat(type_, static_cast<uint32_t>(size)))
        return kInvalidMediaType;
    size_ = static_cast<uint32_t>(size);
    return kOk;
}

HResult GrabbedFrame::WriteTo(const char* path) const {
    if (size_ == 0)
        return kFail; // nothing taken
    const uint8_t* info = type_.format + kBitmapInfoOffset;
    const uint32_t infoSize = type_.formatSize - kBitmapInfoOffset;
    return WriteBitmapFile(path, info, infoSize, static_cast<const uint8_t*>(pixels_), size_);
}

void GrabbedFrame::WrittenSize(int32_t* width, int32_t* height) const {
    *width = *height = 0;
    if (size_ == 0)
        return; // nothing taken: Take checked the header of a frame it kept
    std::memcpy(width, type_.format + kBitmapWidthOffset, sizeof *width);
    std::memcpy(height, type_.format + kBitmapHeightOffset, sizeof *height);
    if (*height < 0)
        *height = -*height;
}

void WaitForGrabberFrame(const SampleGrabber& grabber, const MediaControl& control,
                         uint32_t limitMs) {
    constexpr uint32_t kStepMs = 10;
    for (uint32_t waited = 0; waited < limitMs; waited += kStepMs) {
        if (!grabber || !control)
            return;
        int32_t state = kPreviewStopped;
        GraphState(control, 2500, &state);
        if (state != kPreviewRunning)
            return;
        int32_t size = 0;
        if (GrabberCurrentBuffer(grabber, &size, nullptr) != kNoSampleYet)
            return;
        SleepFor(kStepMs);
    }
}
