// Checks the stream format code of the Windows build against a pin of its own: the format request
// lands in the fields of the framework's own VIDEOINFOHEADER and VIDEOINFOHEADER2 records, a block
// of another type is left alone, and the caps records are read in the size the pin reports (a pin
// with a 4,096-byte record writes all of it; a size no caps record can have is refused).
// Prints one line per check; the exit code is the number of failed checks.
#include "camera/stream_format.h"
#include "platform/media_graph.h"
#include "platform/win32/dshow_headers_win32.h"

#include <dvdmedia.h>

#include <cstdio>
#include <cstring>
#include <vector>

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

// An output pin with a stream configuration: GetFormat hands out the block it was given, SetFormat
// keeps a copy of what it receives, and the caps records are as long as capsSize says.
class FakePin : public IPin, public IAMStreamConfig {
  public:
    GUID formatType = FORMAT_VideoInfo;
    std::vector<BYTE> block;
    std::vector<BYTE> received;
    GUID receivedSubtype = GUID_NULL;
    int capsSize = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    int capsRequests = 0;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IPin)
            *out = static_cast<IPin*>(this);
        else if (iid == IID_IAMStreamConfig)
            *out = static_cast<IAMStreamConfig*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override { return --references_; }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override {
        received.assign(type->pbFormat, type->pbFormat + type->cbFormat);
        receivedSubtype = type->subtype;
        return S_OK;
    }
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** out) override {
        auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        std::memset(type, 0, sizeof *type);
        type->majortype = MEDIATYPE_Video;
        type->subtype = MEDIASUBTYPE_YUY2;
        type->formattype = formatType;
        type->cbFormat = static_cast<ULONG>(block.size());
        type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(block.size()));
        std::memcpy(type->pbFormat, block.data(), block.size());
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
        // A whole record of the reported size: the video record, then bytes of the pin's own.
        std::memset(caps, 0xCC, static_cast<size_t>(capsSize));
        VIDEO_STREAM_CONFIG_CAPS video{};
        video.InputSize.cx = 1280;
        video.InputSize.cy = 720;
        video.MinFrameInterval = 333333;
        video.MaxFrameInterval = 2000000;
        std::memcpy(caps, &video, sizeof video);
        *type = nullptr;
        return GetFormat(type);
    }

    // IPin: nothing of it is asked for.
    STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP Disconnect() override { return E_NOTIMPL; }
    STDMETHODIMP ConnectedTo(IPin**) override { return VFW_E_NOT_CONNECTED; }
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryPinInfo(PIN_INFO*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override {
        *direction = PINDIR_OUTPUT;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes**) override { return E_NOTIMPL; }
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_NOTIMPL; }
    STDMETHODIMP BeginFlush() override { return E_NOTIMPL; }
    STDMETHODIMP EndFlush() override { return E_NOTIMPL; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_NOTIMPL; }

  private:
    ULONG references_ = 1;
};

template <class Record> std::vector<BYTE> BlockOf(const Record& record) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&record);
    return std::vector<BYTE>(bytes, bytes + sizeof record);
}

template <class Record> Record RecordOf(const std::vector<BYTE>& block) {
    Record record{};
    std::memcpy(&record, block.data(), std::min(block.size(), sizeof record));
    return record;
}

platform::Pin AsPin(FakePin& pin) {
    return reinterpret_cast<platform::Pin>(static_cast<IPin*>(&pin));
}

void VideoInfo() {
    FakePin pin;
    VIDEOINFOHEADER info{};
    info.AvgTimePerFrame = 666666;
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 640;
    info.bmiHeader.biHeight = 480;
    info.bmiHeader.biBitCount = 16;
    pin.block = BlockOf(info);
    Check("video info: request made", 1,
          ApplyPinFormat(AsPin(pin), 1920, 1080, 30, platform::kMediaSubtypeRgb24));
    const auto got = RecordOf<VIDEOINFOHEADER>(pin.received);
    Check("video info: block size", sizeof info, static_cast<long long>(pin.received.size()));
    Check("video info: width", 1920, got.bmiHeader.biWidth);
    Check("video info: height", 1080, got.bmiHeader.biHeight);
    Check("video info: frame time", 333333, got.AvgTimePerFrame);
    Check("video info: bit count kept", 16, got.bmiHeader.biBitCount);
    Check("video info: subtype RGB24", 1, pin.receivedSubtype == MEDIASUBTYPE_RGB24);
}

void VideoInfo2() {
    FakePin pin;
    pin.formatType = FORMAT_VideoInfo2;
    VIDEOINFOHEADER2 info{};
    info.AvgTimePerFrame = 666666;
    info.dwInterlaceFlags = 0;
    info.dwCopyProtectFlags = 0;
    info.dwPictAspectRatioX = 4;
    info.dwPictAspectRatioY = 3;
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 640;
    info.bmiHeader.biHeight = 480;
    info.bmiHeader.biBitCount = 16;
    pin.block = BlockOf(info);
    Check("video info 2: request made", 1,
          ApplyPinFormat(AsPin(pin), 1920, 1080, 30, platform::kMediaSubtypeRgb24));
    const auto got = RecordOf<VIDEOINFOHEADER2>(pin.received);
    Check("video info 2: block size", sizeof info, static_cast<long long>(pin.received.size()));
    Check("video info 2: width", 1920, got.bmiHeader.biWidth);
    Check("video info 2: height", 1080, got.bmiHeader.biHeight);
    Check("video info 2: frame time", 333333, got.AvgTimePerFrame);
    Check("video info 2: copy protection flags kept", 0, got.dwCopyProtectFlags);
    Check("video info 2: aspect ratio x kept", 4, got.dwPictAspectRatioX);
    Check("video info 2: aspect ratio y kept", 3, got.dwPictAspectRatioY);
    Check("video info 2: bit count kept", 16, got.bmiHeader.biBitCount);
}

void OtherFormatType() {
    FakePin pin;
    pin.formatType = FORMAT_MPEG2Video;
    pin.block.assign(200, 0x5A);
    ApplyPinFormat(AsPin(pin), 1920, 1080, 30, platform::kMediaSubtypeRgb24);
    Check("another format type: block left as the pin reported it", 1, pin.received == pin.block);
}

void CapsRecords() {
    FakePin pin;
    VIDEOINFOHEADER info{};
    pin.block = BlockOf(info);
    auto* config = reinterpret_cast<platform::StreamConfig>(static_cast<IAMStreamConfig*>(&pin));
    int32_t count = 0, size = 0;
    Check("caps count", 0, platform::StreamCapsCount(config, &count, &size));
    pin.capsSize = 4096;
    platform::StreamCapsCount(config, &count, &size);
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
    VideoInfo();
    VideoInfo2();
    OtherFormatType();
    CapsRecords();
    std::printf("%d failed\n", failures);
    return failures;
}
