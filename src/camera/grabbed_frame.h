// One frame taken from a sample grabber together with the connected media type that describes it,
// and written as one bitmap file: the part of a still capture that does not depend on which graph
// the grabber belongs to or how the file is named.
#pragma once

#include "platform/media_graph.h"

#include <cstdint>

class GrabbedFrame {
  public:
    GrabbedFrame() = default;
    GrabbedFrame(const GrabbedFrame&) = delete;
    GrabbedFrame& operator=(const GrabbedFrame&) = delete;
    ~GrabbedFrame();

    // Copies the grabber's latest sample and reads its connected type: 0 when the two agree. The
    // grabber's failure (kNoSampleYet while none has come), kFail for an empty sample or one that
    // changed size between the two reads, or kInvalidMediaType when the type does not describe the
    // frame (also the first part of a frame that a camera pulled out mid-frame left behind).
    platform::HResult Take(platform::SampleGrabber grabber);
    // The taken frame as a bitmap file at path, by WriteBitmapFile: 0 or its failure.
    platform::HResult WriteTo(const char* path) const;
    // The width and the number of rows of the bitmap header WriteTo writes (a top-down frame's
    // negative height counted as rows); 0 x 0 before a frame was taken.
    void WrittenSize(int32_t* width, int32_t* height) const;

  private:
    void* pixels_ = nullptr; // task memory
    uint32_t size_ = 0;
    platform::MediaType type_{};
};

// Returns once the grabber holds a frame, at once when it already does or when none can come (no
// grabber or no graph control, no connection, the graph not running), and after limitMs at most,
// counted in the 10 ms sleeps between the looks. Both handles are read again at every look, so a
// field that is emptied meanwhile ends the wait.
void WaitForGrabberFrame(const platform::SampleGrabber& grabber,
                         const platform::MediaControl& control, uint32_t limitMs);
