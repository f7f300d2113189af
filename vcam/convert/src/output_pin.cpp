// The output pin: offers RGB24 of the input's size once the input is connected, and sets up the
// allocator the converted samples come from (the downstream pin's, else a memory allocator).
#include "convert_filter.h"

#include <uuids.h>

namespace convert {
namespace {

constexpr wchar_t kOutputName[] = L"XForm Out";
constexpr wchar_t kOutputId[] = L"Out";
constexpr long kBuffers = 3;

// A connection type may leave GUIDs empty to mean "any".
bool Fits(const AM_MEDIA_TYPE& offered, const AM_MEDIA_TYPE* wanted) {
    if (!wanted)
        return true;
    return (wanted->majortype == GUID_NULL || wanted->majortype == offered.majortype) &&
           (wanted->subtype == GUID_NULL || wanted->subtype == offered.subtype) &&
           (wanted->formattype == GUID_NULL || wanted->formattype == offered.formattype);
}

} // namespace

STDMETHODIMP OutputPin::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = iid == IID_IUnknown || iid == IID_IPin ? static_cast<IPin*>(this) : nullptr;
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
    if (!owner_.Input().Connected())
        return VFW_E_NO_ACCEPTABLE_TYPES; // nothing to convert yet
    OwnedMediaType rgb;
    HRESULT result = BuildRgbType(owner_.Input().Type(), &rgb.type);
    if (FAILED(result))
        return result;
    if (!Fits(rgb.type, type))
        return VFW_E_NO_ACCEPTABLE_TYPES;
    result = receiver->ReceiveConnection(this, &rgb.type);
    if (FAILED(result))
        return result;
    ComPtr<IMemInputPin> input;
    result =
        receiver->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(input.GetAddressOf()));
    if (SUCCEEDED(result))
        result = SetUpAllocator(input.Get(), static_cast<long>(rgb.type.lSampleSize));
    if (FAILED(result)) {
        receiver->Disconnect();
        return result;
    }
    peer_ = receiver;
    peerInput_ = input;
    type_.Clear();
    CopyMediaType(&type_.type, rgb.type);
    return S_OK;
}

HRESULT OutputPin::SetUpAllocator(IMemInputPin* input, long frameBytes) {
    ALLOCATOR_PROPERTIES wanted{};
    input->GetAllocatorRequirements(&wanted); // Wine's sample grabber: E_NOTIMPL
    ComPtr<IMemAllocator> allocator;
    HRESULT result = input->GetAllocator(allocator.GetAddressOf());
    if (FAILED(result))
        result = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IMemAllocator,
                                  reinterpret_cast<void**>(allocator.ReleaseAndGetAddressOf()));
    if (FAILED(result))
        return result;
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

STDMETHODIMP OutputPin::Disconnect() {
    Lock filterLock(owner_.FilterLock());
    if (owner_.StateUnlocked() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    Lock lock(lock_);
    if (!peer_)
        return S_FALSE;
    if (allocator_)
        allocator_->Decommit();
    peer_.Reset();
    peerInput_.Reset();
    allocator_.Reset();
    type_.Clear();
    return S_OK;
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
    return CopyMediaType(type, type_.type);
}

STDMETHODIMP OutputPin::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = static_cast<IBaseFilter*>(&owner_);
    owner_.AddRef();
    info->dir = PINDIR_OUTPUT;
    lstrcpynW(info->achName, kOutputName, MAX_PIN_NAME);
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
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kOutputId));
    if (!*id)
        return E_OUTOFMEMORY;
    CopyMemory(*id, kOutputId, sizeof kOutputId);
    return S_OK;
}

STDMETHODIMP OutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    if (!owner_.Input().Connected())
        return S_FALSE;
    OwnedMediaType rgb;
    if (FAILED(BuildRgbType(owner_.Input().Type(), &rgb.type)))
        return S_FALSE;
    const auto* mine = reinterpret_cast<const VIDEOINFOHEADER*>(rgb.type.pbFormat);
    const auto* asked = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
    return type->majortype == MEDIATYPE_Video && type->subtype == MEDIASUBTYPE_RGB24 &&
                   type->formattype == FORMAT_VideoInfo &&
                   type->cbFormat >= sizeof(VIDEOINFOHEADER) && asked &&
                   asked->bmiHeader.biWidth == mine->bmiHeader.biWidth &&
                   asked->bmiHeader.biHeight == mine->bmiHeader.biHeight
               ? S_OK
               : S_FALSE;
}

STDMETHODIMP OutputPin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types)
        return E_POINTER;
    if (!owner_.Input().Connected())
        return CreateTypeEnumerator(static_cast<IPin*>(this), nullptr, 0, types);
    OwnedMediaType rgb;
    const HRESULT result = BuildRgbType(owner_.Input().Type(), &rgb.type);
    if (FAILED(result))
        return result;
    return CreateTypeEnumerator(static_cast<IPin*>(this), &rgb.type, 0, types);
}

} // namespace convert
