// The filter object: its state, its two pins, and the conversion of one sample.
#include "convert_filter.h"

#include "jpeg_decoder.h"
#include "pixel_convert.h"

#include <new>

namespace convert {

// {E406CF12-D555-40C3-B9B1-22128F693C9E}
const GUID kConverterClass = {
    0xE406CF12, 0xD555, 0x40C3, {0xB9, 0xB1, 0x22, 0x12, 0x8F, 0x69, 0x3C, 0x9E}};
const wchar_t kConverterName[] = L"Framewright Test Converter";

HRESULT ConvertFilter::Create(REFIID iid, void** out) {
    auto* filter = new (std::nothrow) ConvertFilter();
    if (!filter)
        return E_OUTOFMEMORY;
    const HRESULT result = filter->QueryInterface(iid, out);
    filter->Release();
    return result;
}

ConvertFilter::~ConvertFilter() {
    if (clock_)
        clock_->Release();
}

STDMETHODIMP ConvertFilter::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter ||
        iid == IID_IBaseFilter) {
        *out = static_cast<IBaseFilter*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ConvertFilter::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) ConvertFilter::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP ConvertFilter::GetClassID(CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = kConverterClass;
    return S_OK;
}

STDMETHODIMP ConvertFilter::Stop() {
    {
        Lock lock(lock_);
        state_ = State_Stopped;
        // Wakes a Transform waiting for an output buffer; it then fails and returns.
        if (output_.Allocator())
            output_.Allocator()->Decommit();
    }
    Lock stream(streamLock_); // no sample is being sent once Stop returns
    return S_OK;
}

STDMETHODIMP ConvertFilter::Pause() {
    Lock lock(lock_);
    if (state_ == State_Stopped && output_.Allocator()) {
        const HRESULT result = output_.Allocator()->Commit();
        if (FAILED(result))
            return result;
    }
    state_ = State_Paused;
    return S_OK;
}

STDMETHODIMP ConvertFilter::Run(REFERENCE_TIME) {
    if (StateUnlocked() == State_Stopped) {
        const HRESULT result = Pause();
        if (FAILED(result))
            return result;
    }
    Lock lock(lock_);
    state_ = State_Running;
    return S_OK;
}

STDMETHODIMP ConvertFilter::GetState(DWORD, FILTER_STATE* state) {
    if (!state)
        return E_POINTER;
    Lock lock(lock_);
    *state = state_;
    return S_OK;
}

STDMETHODIMP ConvertFilter::SetSyncSource(IReferenceClock* clock) {
    Lock lock(lock_);
    if (clock)
        clock->AddRef();
    if (clock_)
        clock_->Release();
    clock_ = clock;
    return S_OK;
}

STDMETHODIMP ConvertFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock)
        return E_POINTER;
    Lock lock(lock_);
    *clock = clock_;
    if (clock_)
        clock_->AddRef();
    return S_OK;
}

STDMETHODIMP ConvertFilter::EnumPins(IEnumPins** pins) {
    return CreatePinEnumerator(this, &input_, &output_, 0, pins);
}

STDMETHODIMP ConvertFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin)
        return E_POINTER;
    *pin = nullptr;
    if (lstrcmpW(id, L"In") == 0)
        *pin = &input_;
    else if (lstrcmpW(id, L"Out") == 0)
        *pin = &output_;
    else
        return VFW_E_NOT_FOUND;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP ConvertFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info)
        return E_POINTER;
    Lock lock(lock_);
    lstrcpynW(info->achName, name_, MAX_FILTER_NAME);
    info->pGraph = graph_;
    if (graph_)
        graph_->AddRef();
    return S_OK;
}

STDMETHODIMP ConvertFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    Lock lock(lock_);
    graph_ = graph;
    lstrcpynW(name_, name ? name : L"", MAX_FILTER_NAME);
    return S_OK;
}

HRESULT ConvertFilter::Transform(IMediaSample* sample) {
    if (!sample)
        return E_POINTER;
    Lock stream(streamLock_);
    if (StateUnlocked() == State_Stopped)
        return VFW_E_WRONG_STATE;
    if (input_.Flushing())
        return S_FALSE;
    if (!output_.Connected())
        return VFW_E_NOT_CONNECTED;
    const AM_MEDIA_TYPE& type = input_.Type();
    const BITMAPINFOHEADER& bmi =
        reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    const long width = bmi.biWidth, height = bmi.biHeight;
    BYTE* in = nullptr;
    sample->GetPointer(&in);
    const long length = sample->GetActualDataLength();

    IMediaSample* out = nullptr;
    HRESULT result = output_.Allocator()->GetBuffer(&out, nullptr, nullptr, 0);
    if (FAILED(result))
        return result;
    BYTE* pixels = nullptr;
    out->GetPointer(&pixels);
    const long frameBytes = RgbFrameBytes(width, height);
    if (!pixels || !in || out->GetSize() < frameBytes) {
        out->Release();
        return E_UNEXPECTED;
    }
    bool converted = false;
    switch (KindOf(type)) {
    case InputKind::Yuy2:
        converted = length >= width * height * 2;
        if (converted)
            Yuy2ToDib(in, width, height, pixels);
        break;
    case InputKind::Nv12:
        converted = length >= width * height * 3 / 2;
        if (converted)
            Nv12ToDib(in, width, height, pixels);
        break;
    case InputKind::Mjpg:
        converted = length > 0 && DecodeJpegToDib(in, static_cast<size_t>(length), width, height,
                                                  pixels, &jpegScratch_);
        break;
    case InputKind::None:
        break;
    }
    if (!converted) {
        // A short or damaged frame is dropped, as a decoder does; the stream goes on.
        out->Release();
        return S_OK;
    }
    out->SetActualDataLength(frameBytes);
    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT timed = sample->GetTime(&start, &stop);
    if (timed == S_OK)
        out->SetTime(&start, &stop);
    else if (timed == VFW_S_NO_STOP_TIME)
        out->SetTime(&start, nullptr);
    else
        out->SetTime(nullptr, nullptr);
    out->SetSyncPoint(TRUE);
    out->SetDiscontinuity(sample->IsDiscontinuity() == S_OK);
    out->SetPreroll(sample->IsPreroll() == S_OK);
    result = output_.PeerInput()->Receive(out);
    out->Release();
    return result;
}

} // namespace convert
