// Checks the stream configuration code of the Windows build against a pin of its own: the caps
// records are read in the size the pin reports (a pin with a 4,096-byte record writes all of it; a
// size no caps record can have is refused). Where a format request puts its fields is held against
// the framework's records at compile time (stream_config_win32.cpp) and in the host tests.
// Prints one line per check; the exit code is the number of failed checks.
#include "platform/media_graph.h"
#include "platform/win32/dshow_headers_win32.h"

#include <cstdio>
#include <cstring>

namespace {

int failures = 0;

void Check(const char* what, long long expected, long long got) {
    if (expected == got) {
        std::printf("ok: %s\n", what);
    } else {
        std::printf("FAIL: %s: expected %lld, got %lld\n", what, expected, got);
        ++failures;
    }
}

// A pin's stream configuration with one capability whose caps record is as long as capsSize says:
// the video record, then bytes of the pin's own.
class FakeStreamConfig : public IAMStreamConfig {
  public:
    int capsSize = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    int capsRequests = 0;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_IAMStreamConfig ? this : nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override { return --references_; }

    STDMETHODIMP SetFormat(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** out) override {
        auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        std::memset(type, 0, sizeof *type);
        type->majortype = MEDIATYPE_Video;
        type->subtype = MEDIASUBTYPE_YUY2;
        type->formattype = FORMAT_VideoInfo;
        type->cbFormat = sizeof(VIDEOINFOHEADER);
        type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(type->cbFormat));
        std::memset(type->pbFormat, 0, type->cbFormat);
        *out = type;
        return S_OK;
    }
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override {
        *count = 1;
        *size = capsSize;
        return S_OK;
    }
    STDMETHODIMP GetStreamCaps(int, AM_MEDIA_TYPE** type, BYTE* caps) override {
        ++capsRequests;
        std::memset(caps, 0xCC, static_cast<size_t>(capsSize));
        VIDEO_STREAM_CONFIG_CAPS video{};
        video.InputSize.cx = 1280;
        video.InputSize.cy = 720;
        video.MinFrameInterval = 333333;
        video.MaxFrameInterval = 2000000;
        std::memcpy(caps, &video, sizeof video);
        return GetFormat(type);
    }

  private:
    ULONG references_ = 1;
};

void CapsRecords() {
    FakeStreamConfig pin;
    auto* config = reinterpret_cast<platform::StreamConfig>(static_cast<IAMStreamConfig*>(&pin));
    pin.capsSize = 4096;
    int32_t count = 0, size = 0;
    Check("caps count asked", 0, platform::StreamCapsCount(config, &count, &size));
    Check("caps size reported", 4096, size);
    platform::MediaType* type = nullptr;
    platform::StreamCapsEntry entry;
    // A buffer smaller than the record would be overrun here and the program would not survive.
    Check("a 4,096-byte caps record: read", 0,
          platform::StreamCaps(config, 0, size, &type, &entry));
    Check("a 4,096-byte caps record: width", 1280, entry.width);
    Check("a 4,096-byte caps record: height", 720, entry.height);
    Check("a 4,096-byte caps record: shortest frame time", 333333,
          static_cast<int>(entry.minFrameInterval));
    Check("a 4,096-byte caps record: longest frame time", 2000000,
          static_cast<int>(entry.maxFrameInterval));
    if (type) {
        CoTaskMemFree(type->format);
        CoTaskMemFree(type);
    }
    for (int32_t absurd : {-1, 0x7FFFFFFF}) {
        const int before = pin.capsRequests;
        type = nullptr;
        const HRESULT result = platform::StreamCaps(config, 0, absurd, &type, &entry);
        Check("an absurd caps size: refused", 1, FAILED(result));
        Check("an absurd caps size: the pin is not asked", before, pin.capsRequests);
    }
}

} // namespace

int main() {
    CapsRecords();
    std::printf("%d failed\n", failures);
    return failures;
}
