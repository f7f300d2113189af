#include "frame_streamer.h"

#include "request_log.h"
#include "media_types.h"
#include "test_pattern.h"

#include <uuids.h>

#include <cstdio>

namespace vcam {
namespace {

LONGLONG Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG TicksPerSecond() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

} // namespace

HRESULT FrameStreamer::Start(const StreamSetup& setup) {
    Stop();
    setup_ = setup;
    HRESULT result = setup_.allocator->Commit();
    if (FAILED(result))
        return result;
    setup_.input->AddRef();
    setup_.allocator->AddRef();
    stopEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    runEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    delivered_ = 0;
    runTicks_ = 0;
    thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    if (!thread_) {
        setup_.allocator->Decommit();
        setup_.allocator->Release();
        setup_.input->Release();
        return E_FAIL;
    }
    return S_OK;
}

void FrameStreamer::Run(REFERENCE_TIME start, IReferenceClock* clock) {
    {
        Lock lock(lock_);
        if (clock)
            clock->AddRef();
        if (clock_)
            clock_->Release();
        clock_ = clock;
        start_ = start;
        ++runSerial_;
        if (!runTicks_)
            runTicks_ = Ticks();
    }
    if (runEvent_)
        SetEvent(runEvent_.Get());
}

void FrameStreamer::Pause() {
    if (runEvent_)
        ResetEvent(runEvent_.Get());
}

void FrameStreamer::Stop() {
    if (!thread_)
        return;
    SetEvent(stopEvent_.Get());
    // Decommitting wakes a GetBuffer that waits for a sample held downstream.
    setup_.allocator->Decommit();
    if (WaitForSingleObject(thread_.Get(), 10000) != WAIT_OBJECT_0)
        LogNote(setup_.device->Index(), "stream thread did not end within 10 s");
    thread_.Reset();
    if (runTicks_) {
        const double seconds =
            static_cast<double>(Ticks() - runTicks_) / static_cast<double>(TicksPerSecond());
        char text[128];
        std::snprintf(text, sizeof text, "stream stop frames=%u seconds=%.3f fps=%.2f", delivered_,
                      seconds, seconds > 0 ? delivered_ / seconds : 0.0);
        LogNote(setup_.device->Index(), text);
    }
    setup_.allocator->Release();
    setup_.input->Release();
    Lock lock(lock_);
    if (clock_)
        clock_->Release();
    clock_ = nullptr;
}

DWORD WINAPI FrameStreamer::ThreadMain(void* self) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static_cast<FrameStreamer*>(self)->Loop();
    CoUninitialize();
    return 0;
}

bool FrameStreamer::WaitUntilRunning() {
    HANDLE both[2] = {stopEvent_.Get(), runEvent_.Get()};
    return WaitForMultipleObjects(2, both, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}

void FrameStreamer::Loop() {
    const LONGLONG perSecond = TicksPerSecond();
    const LONGLONG perFrame = setup_.interval * perSecond / 10000000;
    const int camera = setup_.device->Index();
    uint32_t frame = 0;
    unsigned seenSerial = 0;
    LONGLONG due = 0;
    bool halted = false; // unplugged or refused downstream: nothing more until Stop
    long loggedBrightness = 0;
    while (WaitUntilRunning()) {
        if (halted) {
            WaitForSingleObject(stopEvent_.Get(), INFINITE);
            break;
        }
        {
            Lock lock(lock_);
            if (runSerial_ != seenSerial) {
                seenSerial = runSerial_;
                due = Ticks();
            }
        }
        const LONGLONG now = Ticks();
        if (now < due) {
            const DWORD wait = static_cast<DWORD>((due - now) * 1000 / perSecond) + 1;
            if (WaitForSingleObject(stopEvent_.Get(), wait) == WAIT_OBJECT_0)
                break;
            continue;
        }
        if (setup_.device->Presence() != S_OK) {
            LogNote(camera, "stream halted unplugged frames=" + std::to_string(frame));
            // As the platform's capture filters do: param1 the filter, param2 0 for a removal.
            if (setup_.events) {
                const HRESULT sent = setup_.events->Notify(
                    EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(setup_.filter), 0);
                LogRequest(camera, "event device-lost", sent);
            }
            halted = true;
            continue;
        }
        long brightness = 0;
        const HRESULT result = Deliver(frame, &brightness);
        if (WaitForSingleObject(stopEvent_.Get(), 0) == WAIT_OBJECT_0)
            break;
        if (result != S_OK) {
            LogRequest(camera, "stream halted receive frames=" + std::to_string(frame), result);
            halted = true;
            continue;
        }
        if (frame == 0) {
            const LONGLONG ms = (Ticks() - runTicks_) * 1000 / perSecond;
            LogNote(camera, "stream first-frame ms-after-run=" + std::to_string(ms));
            if (setup_.device->Config().rampFrames > 0)
                LogNote(camera,
                        "stream ramp frames=" + std::to_string(setup_.device->Config().rampFrames));
        }
        // Logged once the frame has passed downstream, so that a test can wait until a program
        // holds a frame drawn at a new brightness.
        if (frame == 0 || brightness != loggedBrightness) {
            LogNote(camera, "stream brightness=" + std::to_string(brightness) +
                                " frame=" + std::to_string(frame));
            loggedBrightness = brightness;
        }
        ++frame;
        due += perFrame;
        if (Ticks() - due > perFrame)
            due = Ticks();
    }
}

HRESULT FrameStreamer::Deliver(uint32_t frameNumber, long* brightness) {
    IMediaSample* sample = nullptr;
    HRESULT result = setup_.allocator->GetBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(result))
        return result;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    Capability shape{};
    shape.subtype = setup_.subtype;
    shape.width = setup_.width;
    shape.height = setup_.height;
    const long needed = static_cast<long>(FrameBytes(shape));
    if (!data || sample->GetSize() < needed) {
        sample->Release();
        return E_UNEXPECTED;
    }
    *brightness = setup_.device->Brightness();
    // While auto-exposure settles: frame k of the first N is drawn at brightness * k / N.
    const long ramp = setup_.device->Config().rampFrames;
    if (frameNumber < static_cast<uint32_t>(ramp))
        *brightness = *brightness * static_cast<long>(frameNumber) / ramp;
    long length = needed;
    if (setup_.subtype == MEDIASUBTYPE_YUY2) {
        DrawTestPatternYuy2(data, setup_.width, setup_.height, frameNumber, *brightness);
    } else if (setup_.subtype == MEDIASUBTYPE_NV12) {
        DrawTestPatternNv12(data, setup_.width, setup_.height, frameNumber, *brightness);
    } else if (setup_.subtype == MEDIASUBTYPE_MJPG) {
        // A webcam's motion JPEG: each sample one whole JPEG of the picture, as long as it is.
        shape.subtype = MEDIASUBTYPE_RGB24;
        const long stride = static_cast<long>(FrameBytes(shape)) / setup_.height;
        picture_.resize(static_cast<size_t>(stride) * static_cast<size_t>(setup_.height));
        DrawTestPattern(picture_.data(), setup_.width, setup_.height, frameNumber, *brightness);
        jpegEncoder_.Encode(picture_.data() + (setup_.height - 1) * stride, setup_.width,
                            setup_.height, -stride, &jpeg_);
        length = static_cast<long>(jpeg_.size());
        if (length > sample->GetSize()) {
            sample->Release();
            return E_UNEXPECTED;
        }
        CopyMemory(data, jpeg_.data(), jpeg_.size());
    } else {
        DrawTestPattern(data, setup_.width, setup_.height, frameNumber, *brightness);
    }
    sample->SetActualDataLength(length);
    IReferenceClock* clock = nullptr;
    REFERENCE_TIME start = 0;
    {
        Lock lock(lock_);
        clock = clock_;
        if (clock)
            clock->AddRef();
        start = start_;
    }
    if (clock) {
        // Stamped with the capture time in stream time, as a live source does.
        REFERENCE_TIME now = 0;
        clock->GetTime(&now);
        REFERENCE_TIME begin = now - start, end = begin + setup_.interval;
        sample->SetTime(&begin, &end);
        clock->Release();
    }
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(frameNumber == 0);
    result = setup_.input->Receive(sample);
    // Counted once downstream has it, whatever it answers: a Stop that lands while Receive waits
    // (a renderer holding the sample until its time) still leaves this frame with the grabber.
    delivered_ = frameNumber + 1;
    sample->Release();
    return result;
}

} // namespace vcam
