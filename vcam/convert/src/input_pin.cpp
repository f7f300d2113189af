// The input pin: takes a YUY2, NV12 or MJPG connection, brings an allocator when asked for one,
// and hands every sample to the filter; stream events go on to the output's peer.
#include "convert_filter.h"

namespace convert {
namespace {

constexpr wchar_t kInputName[] = L"XForm In";
constexpr wchar_t kInputId[] = L"In";

} // namespace

STDMETHODIMP InputPin::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin)
        *out = static_cast<IPin*>(this);
    else if (iid == IID_IMemInputPin)
        *out = static_cast<IMemInputPin*>(this);
    else
        *out = nullptr;
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) InputPin::AddRef() {
    return owner_.AddRef();
}

STDMETHODIMP_(ULONG) InputPin::Release() {
    return owner_.Release();
}

STDMETHODIMP InputPin::Connect(IPin*, const AM_MEDIA_TYPE*) {
    return E_UNEXPECTED; // an input pin is connected to, it does not connect
}

STDMETHODIMP InputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type)
        return E_POINTER;
    Lock filterLock(owner_.FilterLock());
    if (owner_.StateUnlocked() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    Lock lock(lock_);
    if (peer_)
        return VFW_E_ALREADY_CONNECTED;
    if (KindOf(*type) == InputKind::None)
        return VFW_E_TYPE_NOT_ACCEPTED;
    PIN_DIRECTION direction = PINDIR_INPUT;
    if (FAILED(connector->QueryDirection(&direction)) || direction != PINDIR_OUTPUT)
        return VFW_E_INVALID_DIRECTION;
    // A connected output stays in the size it was given.
    if (owner_.Output().Connected()) {
        const auto* now = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
        AM_MEDIA_TYPE current{};
        owner_.Output().ConnectionMediaType(&current);
        const auto* was = reinterpret_cast<const VIDEOINFOHEADER*>(current.pbFormat);
        const bool same = was && was->bmiHeader.biWidth == now->bmiHeader.biWidth &&
                          was->bmiHeader.biHeight == now->bmiHeader.biHeight;
        FreeMediaType(&current);
        if (!same)
            return VFW_E_TYPE_NOT_ACCEPTED;
    }
    type_.Clear();
    const HRESULT result = CopyMediaType(&type_.type, *type);
    if (FAILED(result)) {
        type_.Clear();
        return result;
    }
    peer_ = connector;
    return S_OK;
}

STDMETHODIMP InputPin::Disconnect() {
    Lock filterLock(owner_.FilterLock());
    if (owner_.StateUnlocked() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    Lock lock(lock_);
    if (!peer_)
        return S_FALSE;
    peer_.Reset();
    allocator_.Reset();
    type_.Clear();
    return S_OK;
}

STDMETHODIMP InputPin::ConnectedTo(IPin** pin) {
    if (!pin)
        return E_POINTER;
    Lock lock(lock_);
    *pin = peer_.Get();
    if (!*pin)
        return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP InputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    Lock lock(lock_);
    if (!peer_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, type_.type);
}

STDMETHODIMP InputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = static_cast<IBaseFilter*>(&owner_);
    owner_.AddRef();
    info->dir = PINDIR_INPUT;
    lstrcpynW(info->achName, kInputName, MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP InputPin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction)
        return E_POINTER;
    *direction = PINDIR_INPUT;
    return S_OK;
}

STDMETHODIMP InputPin::QueryId(LPWSTR* id) {
    if (!id)
        return E_POINTER;
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kInputId));
    if (!*id)
        return E_OUTOFMEMORY;
    CopyMemory(*id, kInputId, sizeof kInputId);
    return S_OK;
}

STDMETHODIMP InputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    return KindOf(*type) != InputKind::None ? S_OK : S_FALSE;
}

STDMETHODIMP InputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    // An input pin proposes nothing: the upstream pin offers its own types.
    return CreateTypeEnumerator(static_cast<IPin*>(this), nullptr, 0, types);
}

STDMETHODIMP InputPin::EndOfStream() {
    IPin* next = owner_.Output().Peer();
    return next ? next->EndOfStream() : S_OK;
}

STDMETHODIMP InputPin::BeginFlush() {
    InterlockedExchange(&flushing_, 1);
    IPin* next = owner_.Output().Peer();
    return next ? next->BeginFlush() : S_OK;
}

STDMETHODIMP InputPin::EndFlush() {
    IPin* next = owner_.Output().Peer();
    const HRESULT result = next ? next->EndFlush() : S_OK;
    InterlockedExchange(&flushing_, 0);
    return result;
}

STDMETHODIMP InputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    IPin* next = owner_.Output().Peer();
    return next ? next->NewSegment(start, stop, rate) : S_OK;
}

STDMETHODIMP InputPin::GetAllocator(IMemAllocator** allocator) {
    if (!allocator)
        return E_POINTER;
    Lock lock(lock_);
    if (!allocator_) {
        const HRESULT result = CoCreateInstance(
            CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
            reinterpret_cast<void**>(allocator_.GetAddressOf()));
        if (FAILED(result))
            return result;
    }
    *allocator = allocator_.Get();
    (*allocator)->AddRef();
    return S_OK;
}

STDMETHODIMP InputPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
    if (!allocator)
        return E_POINTER;
    Lock lock(lock_);
    allocator_ = allocator;
    return S_OK;
}

STDMETHODIMP InputPin::Receive(IMediaSample* sample) {
    return owner_.Transform(sample);
}

STDMETHODIMP InputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    HRESULT result = S_OK;
    while (*processed < count) {
        result = owner_.Transform(samples[*processed]);
        if (result != S_OK)
            break;
        ++*processed;
    }
    return result;
}

} // namespace convert
