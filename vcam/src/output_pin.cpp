// The pin's connection: it offers its formats, connects in those it can draw (RGB24, YUY2,
// NV12, and MJPG as real JPEG frames), and brings its own allocator.
#include "output_pin.h"

#include "enumerators.h"
#include "request_log.h"
#include "unplug.h"
#include "vcam_filter.h"

#include <uuids.h>

#include <memory>

namespace vcam {
namespace {

constexpr wchar_t kPinName[] = L"Capture";
constexpr long kBuffers = 3;

// A connection type may leave GUIDs empty to mean "any".
bool Fits(const AM_MEDIA_TYPE& offered, const AM_MEDIA_TYPE* wanted) {
    if (!wanted)
        return true;
    return (wanted->majortype == GUID_NULL || wanted->majortype == offered.majortype) &&
           (wanted->subtype == GUID_NULL || wanted->subtype == offered.subtype) &&
           (wanted->formattype == GUID_NULL || wanted->formattype == offered.formattype);
}

bool Drawable(const GUID& subtype) {
    return subtype == MEDIASUBTYPE_RGB24 || subtype == MEDIASUBTYPE_YUY2 ||
           subtype == MEDIASUBTYPE_NV12 || subtype == MEDIASUBTYPE_MJPG;
}

} // namespace

OutputPin::~OutputPin() {
    streamer_.Stop();
}

int OutputPin::Camera() const {
    return owner_.Device().Index();
}

STDMETHODIMP OutputPin::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPin)
        *out = static_cast<IPin*>(this);
    else if (iid == IID_IKsPropertySet)
        *out = static_cast<IKsPropertySet*>(this);
    else if (iid == IID_IAMStreamConfig) {
        const bool withheld = owner_.Device().Config().Withholds(Interface::StreamConfig);
        LogRequest(Camera(), "query streamconfig", withheld ? E_NOINTERFACE : S_OK);
        if (!withheld)
            *out = static_cast<IAMStreamConfig*>(this);
    }
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) OutputPin::AddRef() {
    return owner_.AddRef();
}

STDMETHODIMP_(ULONG) OutputPin::Release() {
    return owner_.Release();
}

STDMETHODIMP OutputPin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
    if (!receiver)
        return E_POINTER;
    Lock filterLock(owner_.FilterLock());
    if (owner_.StateUnlocked() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    Lock lock(lock_);
    if (peer_)
        return VFW_E_ALREADY_CONNECTED;
    HRESULT result = owner_.Device().Presence();
    const CameraConfig& camera = owner_.Device().Config();
    if (result == S_OK && camera.acquireFailsAtConnect)
        result = camera.acquireResult;
    if (result == S_OK) {
        // The current format first, then the rest of the list unless a format was chosen.
        std::vector<std::unique_ptr<OwnedMediaType>> offered;
        offered.push_back(std::make_unique<OwnedMediaType>());
        if (camera.audio)
            BuildAudioType(&offered.back()->type);
        else
            offered.back()->CopyFrom(CurrentFormat());
        if (!formatChosen_ && !camera.audio)
            for (const Capability& format : owner_.Device().Config().formats) {
                offered.push_back(std::make_unique<OwnedMediaType>());
                BuildMediaType(format, format.minInterval, &offered.back()->type);
            }
        result = VFW_E_NO_ACCEPTABLE_TYPES;
        for (const auto& candidate : offered) {
            if (!Fits(candidate->type, type))
                continue;
            const HRESULT tried = TryConnect(receiver, candidate->type);
            if (SUCCEEDED(tried)) {
                result = S_OK;
                break;
            }
        }
    }
    LogRequest(Camera(), "pin connect " + (peer_ ? DescribeVideoType(connected_.type) : "none"),
               result);
    return result;
}

HRESULT OutputPin::TryConnect(IPin* receiver, const AM_MEDIA_TYPE& type) {
    LONGLONG interval = 0;
    const auto& formats = owner_.Device().Config().formats;
    OwnedMediaType exact;
    HRESULT result = S_OK;
    if (owner_.Device().Config().audio) {
        result = BuildAudioType(&exact.type);
    } else {
        const int index = MatchCapability(formats, type, &interval);
        if (index < 0 || !Drawable(formats[static_cast<size_t>(index)].subtype))
            return VFW_E_TYPE_NOT_ACCEPTED;
        result = BuildMediaType(formats[static_cast<size_t>(index)], interval, &exact.type);
    }
    if (FAILED(result))
        return result;
    result = receiver->ReceiveConnection(this, &exact.type);
    if (FAILED(result))
        return result;
    ComPtr<IMemInputPin> input;
    result =
        receiver->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(input.GetAddressOf()));
    if (SUCCEEDED(result))
        result = SetUpAllocator(input.Get(), exact.type);
    if (FAILED(result)) {
        receiver->Disconnect();
        return result;
    }
    peer_ = receiver;
    input_ = input;
    connected_.CopyFrom(exact.type);
    current_.CopyFrom(exact.type);
    return S_OK;
}

HRESULT OutputPin::SetUpAllocator(IMemInputPin* input, const AM_MEDIA_TYPE& type) {
    ALLOCATOR_PROPERTIES wanted{};
    input->GetAllocatorRequirements(&wanted); // Wine's sample grabber: E_NOTIMPL
    ComPtr<IMemAllocator> allocator;
    HRESULT result =
        CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                         reinterpret_cast<void**>(allocator.GetAddressOf()));
    if (FAILED(result))
        return result;
    // A video frame, or 10 ms of sound.
    const long frameBytes =
        type.majortype == MEDIATYPE_Audio
            ? 960
            : static_cast<long>(
                  reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader.biSizeImage);
    ALLOCATOR_PROPERTIES asked{};
    asked.cBuffers = wanted.cBuffers > kBuffers ? wanted.cBuffers : kBuffers;
    asked.cbBuffer = wanted.cbBuffer > frameBytes ? wanted.cbBuffer : frameBytes;
    asked.cbAlign = wanted.cbAlign > 1 ? wanted.cbAlign : 1;
    asked.cbPrefix = wanted.cbPrefix;
    ALLOCATOR_PROPERTIES got{};
    result = allocator->SetProperties(&asked, &got);
    if (SUCCEEDED(result) && got.cbBuffer < frameBytes)
        result = E_FAIL;
    if (SUCCEEDED(result))
        result = input->NotifyAllocator(allocator.Get(), FALSE);
    if (SUCCEEDED(result))
        allocator_ = allocator;
    return result;
}

STDMETHODIMP OutputPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) {
    return E_UNEXPECTED; // an output pin connects, it is not connected to
}

STDMETHODIMP OutputPin::Disconnect() {
    Lock filterLock(owner_.FilterLock());
    if (owner_.StateUnlocked() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    Lock lock(lock_);
    if (!peer_)
        return S_FALSE;
    peer_.Reset();
    input_.Reset();
    allocator_.Reset();
    connected_.Clear();
    LogRequest(Camera(), "pin disconnect", S_OK);
    return S_OK;
}

bool OutputPin::IsConnected() {
    Lock lock(lock_);
    return static_cast<bool>(peer_);
}

STDMETHODIMP OutputPin::ConnectedTo(IPin** pin) {
    if (!pin)
        return E_POINTER;
    Lock lock(lock_);
    *pin = peer_.Get();
    if (!*pin)
        return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP OutputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    Lock lock(lock_);
    if (!peer_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, connected_.type);
}

STDMETHODIMP OutputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = static_cast<IBaseFilter*>(&owner_);
    owner_.AddRef();
    info->dir = PINDIR_OUTPUT;
    lstrcpynW(info->achName, kPinName, 128);
    return S_OK;
}

STDMETHODIMP OutputPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction)
        return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP OutputPin::QueryId(LPWSTR* id) {
    if (!id)
        return E_POINTER;
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kPinName));
    if (!*id)
        return E_OUTOFMEMORY;
    CopyMemory(*id, kPinName, sizeof kPinName);
    return S_OK;
}

STDMETHODIMP OutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    if (owner_.Device().Config().audio)
        return type->majortype == MEDIATYPE_Audio && type->subtype == MEDIASUBTYPE_PCM ? S_OK
                                                                                       : S_FALSE;
    LONGLONG interval = 0;
    const auto& formats = owner_.Device().Config().formats;
    const int index = MatchCapability(formats, *type, &interval);
    return index >= 0 && Drawable(formats[static_cast<size_t>(index)].subtype) ? S_OK : S_FALSE;
}

STDMETHODIMP OutputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types)
        return E_POINTER;
    Lock lock(lock_);
    std::vector<std::unique_ptr<OwnedMediaType>> owned;
    if (owner_.Device().Config().audio) {
        OwnedMediaType pcm;
        BuildAudioType(&pcm.type);
        return CreateMediaTypeEnumerator(static_cast<IPin*>(this), {&pcm.type}, 0, types);
    }
    std::vector<const AM_MEDIA_TYPE*> list = {&CurrentFormat()};
    if (!formatChosen_)
        for (const Capability& format : owner_.Device().Config().formats) {
            owned.push_back(std::make_unique<OwnedMediaType>());
            BuildMediaType(format, format.minInterval, &owned.back()->type);
            list.push_back(&owned.back()->type);
        }
    return CreateMediaTypeEnumerator(static_cast<IPin*>(this), list, 0, types);
}

STDMETHODIMP OutputPin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}

STDMETHODIMP OutputPin::EndOfStream() {
    return E_UNEXPECTED;
}

STDMETHODIMP OutputPin::BeginFlush() {
    return E_UNEXPECTED;
}

STDMETHODIMP OutputPin::EndFlush() {
    return E_UNEXPECTED;
}

STDMETHODIMP OutputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) {
    return S_OK;
}

HRESULT OutputPin::Activate() {
    Lock lock(lock_);
    // The microphone connects but sends no sound: nothing here listens to it.
    if (!peer_ || streamer_.Started() || owner_.Device().Config().audio)
        return S_OK;
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(connected_.type.pbFormat);
    StreamSetup setup{};
    setup.input = input_.Get();
    setup.allocator = allocator_.Get();
    setup.subtype = connected_.type.subtype;
    setup.width = info->bmiHeader.biWidth;
    setup.height = info->bmiHeader.biHeight;
    setup.interval = info->AvgTimePerFrame;
    setup.device = &owner_.Device();
    setup.events = owner_.Events();
    setup.filter = static_cast<IBaseFilter*>(&owner_);
    return streamer_.Start(setup);
}

void OutputPin::Deactivate() {
    streamer_.Stop();
}

void OutputPin::Run(REFERENCE_TIME start, IReferenceClock* clock) {
    streamer_.Run(start, clock);
}

void OutputPin::Pause() {
    streamer_.Pause();
}

} // namespace vcam
