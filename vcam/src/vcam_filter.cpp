// The filter's identity, states and graph membership.
#include "vcam_filter.h"

#include "enumerators.h"
#include "request_log.h"
#include "vcam_guids.h"

#include <new>

namespace vcam {

VcamFilter::VcamFilter()
    : device_(std::make_unique<CameraDevice>(0)), control_(*this), pin_(*this) {}

VcamFilter::~VcamFilter() {
    // A graph stops and disconnects its filters before releasing them; a client that did not
    // still must not leave the thread running on a freed object.
    pin_.Deactivate();
}

HRESULT VcamFilter::Create(REFIID iid, void** out) {
    auto* filter = new (std::nothrow) VcamFilter();
    if (!filter)
        return E_OUTOFMEMORY;
    const HRESULT result = filter->QueryInterface(iid, out);
    filter->Release();
    return result;
}

void* VcamFilter::PropertyInterface(Interface which, void* pointer) {
    const bool withheld = device_->Config().Withholds(which);
    LogRequest(device_->Index(), std::string("query ") + InterfaceName(which),
               withheld ? E_NOINTERFACE : S_OK);
    return withheld ? nullptr : pointer;
}

STDMETHODIMP VcamFilter::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter)
        *out = static_cast<IBaseFilter*>(this);
    else if (iid == IID_IPersistPropertyBag)
        *out = static_cast<IPersistPropertyBag*>(this);
    else if (iid == IID_IAMFilterMiscFlags)
        *out = static_cast<IAMFilterMiscFlags*>(this);
    else if (iid == IID_IAMVideoProcAmp)
        *out = PropertyInterface(Interface::ProcAmp, static_cast<IAMVideoProcAmp*>(this));
    else if (iid == IID_IAMCameraControl)
        *out =
            PropertyInterface(Interface::CameraControl, static_cast<IAMCameraControl*>(&control_));
    else if (iid == IID_IKsPropertySet)
        *out = PropertyInterface(Interface::Vendor, static_cast<IKsPropertySet*>(this));
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) VcamFilter::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) VcamFilter::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP VcamFilter::GetClassID(CLSID* id) {
    if (!id)
        return E_POINTER;
    *id = kFilterClass;
    return S_OK;
}

STDMETHODIMP VcamFilter::Stop() {
    Lock lock(lock_);
    pin_.Deactivate();
    state_ = State_Stopped;
    LogRequest(device_->Index(), "filter stop", S_OK);
    return S_OK;
}

STDMETHODIMP VcamFilter::Pause() {
    Lock lock(lock_);
    HRESULT result = device_->Presence();
    // A busy or blocked camera fails where the device is acquired: leaving Stopped.
    if (result == S_OK && state_ == State_Stopped)
        result = device_->Config().acquireResult;
    if (result == S_OK && state_ == State_Stopped)
        result = pin_.Activate();
    if (result == S_OK) {
        if (state_ == State_Running)
            pin_.Pause();
        state_ = State_Paused;
    }
    LogRequest(device_->Index(), "filter pause", result);
    return result;
}

STDMETHODIMP VcamFilter::Run(REFERENCE_TIME start) {
    Lock lock(lock_);
    HRESULT result = device_->Presence();
    if (result == S_OK && state_ == State_Stopped)
        result = device_->Config().acquireResult;
    if (result == S_OK && state_ == State_Stopped)
        result = pin_.Activate();
    if (result == S_OK) {
        pin_.Run(start, clock_.Get());
        state_ = State_Running;
    }
    LogRequest(device_->Index(), "filter run", result);
    return result;
}

STDMETHODIMP VcamFilter::GetState(DWORD, FILTER_STATE* state) {
    if (!state)
        return E_POINTER;
    Lock lock(lock_);
    *state = state_;
    // A live source has no data to cue while paused.
    return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP VcamFilter::SetSyncSource(IReferenceClock* clock) {
    Lock lock(lock_);
    clock_ = clock;
    return S_OK;
}

STDMETHODIMP VcamFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock)
        return E_POINTER;
    Lock lock(lock_);
    *clock = clock_.Get();
    if (*clock)
        (*clock)->AddRef();
    return S_OK;
}

STDMETHODIMP VcamFilter::EnumPins(IEnumPins** pins) {
    if (!pins)
        return E_POINTER;
    return CreatePinEnumerator(this, &pin_, 0, pins);
}

STDMETHODIMP VcamFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin)
        return E_POINTER;
    *pin = nullptr;
    if (lstrcmpW(id, L"Capture") != 0)
        return VFW_E_NOT_FOUND;
    *pin = &pin_;
    pin_.AddRef();
    return S_OK;
}

STDMETHODIMP VcamFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info)
        return E_POINTER;
    Lock lock(lock_);
    lstrcpynW(info->achName, name_.c_str(), 128);
    info->pGraph = graph_;
    if (graph_)
        graph_->AddRef();
    return S_OK;
}

STDMETHODIMP VcamFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    Lock lock(lock_);
    graph_ = graph;
    events_ = nullptr;
    // Held by the graph that holds us: keeping a reference would make a cycle.
    if (graph &&
        SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&events_))))
        events_->Release();
    name_ = name ? name : L"";
    return S_OK;
}

STDMETHODIMP VcamFilter::QueryVendorInfo(LPWSTR* info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

} // namespace vcam
