// The streaming thread of the output pin. It exists from Pause to Stop and delivers frames only
// while the filter runs: a live camera has nothing to show while paused (hence VFW_S_CANT_CUE).
// Frame n after the start of streaming is due at the run start + n frame intervals of the
// performance counter; a late frame is sent at once, and the schedule then restarts from now
// rather than sending a burst.
#pragma once

#include "camera_device.h"
#include "jpeg_encoder.h"
#include "win_holders.h"

#include <cstdint>
#include <vector>

namespace vcam {

struct StreamSetup {
    IMemInputPin* input;      // held by the streamer while it lives
    IMemAllocator* allocator; // committed by the streamer, decommitted on Stop
    GUID subtype;             // RGB24, YUY2, NV12 or MJPG
    long width, height;
    LONGLONG interval; // 100 ns units
    const CameraDevice* device;
    // The graph's event sink (not held: the graph outlives a running stream) and the filter's
    // IUnknown, for EC_DEVICE_LOST when the camera goes; events may be null.
    IMediaEventSink* events;
    IUnknown* filter;
};

class FrameStreamer {
  public:
    FrameStreamer() = default;
    ~FrameStreamer() { Stop(); }
    FrameStreamer(const FrameStreamer&) = delete;
    FrameStreamer& operator=(const FrameStreamer&) = delete;

    HRESULT Start(const StreamSetup& setup);
    // Deliver with stream times against that clock (may be null: no time stamps).
    void Run(REFERENCE_TIME start, IReferenceClock* clock);
    void Pause();
    void Stop();
    bool Started() const { return static_cast<bool>(thread_); }

  private:
    static DWORD WINAPI ThreadMain(void* self);
    void Loop();
    // Waits until running; false when told to stop.
    bool WaitUntilRunning();
    // Draws and delivers one frame; *brightness is the brightness it was drawn with.
    HRESULT Deliver(uint32_t frameNumber, long* brightness);

    StreamSetup setup_{};
    Handle thread_;
    Handle stopEvent_;
    Handle runEvent_;
    CriticalSection lock_; // guards start_, clock_, runSerial_
    REFERENCE_TIME start_ = 0;
    IReferenceClock* clock_ = nullptr;
    unsigned runSerial_ = 0;
    uint32_t delivered_ = 0;
    LONGLONG runTicks_ = 0; // performance counter at the first Run
    // MJPG: the RGB24 picture, and its JPEG, kept from frame to frame (only the thread uses them).
    std::vector<uint8_t> picture_, jpeg_;
    JpegEncoder jpegEncoder_{85};
};

} // namespace vcam
