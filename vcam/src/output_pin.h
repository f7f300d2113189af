// The camera's one output pin, "Capture": reports PIN_CATEGORY_CAPTURE through its own
// IKsPropertySet, offers IAMStreamConfig over the configured capability list, creates its own
// memory allocator (Wine's sample grabber has none to offer) and owns the streaming thread.
// Its identity and reference count are the filter's.
#pragma once

#include "frame_streamer.h"
#include "media_types.h"
#include "win_holders.h"

#include <wrl/client.h>

namespace vcam {

class VcamFilter;
using Microsoft::WRL::ComPtr;

class OutputPin final : public IPin, public IAMStreamConfig, public IKsPropertySet {
  public:
    explicit OutputPin(VcamFilter& owner) : owner_(owner) {}
    ~OutputPin();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // IKsPropertySet: AMPROPSETID_Pin / AMPROPERTY_PIN_CATEGORY only
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD size) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD size, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // Called by the filter under its lock.
    void ResetFormat();
    HRESULT Activate(); // Stopped -> Paused: commit the allocator, start the thread
    void Deactivate();  // -> Stopped
    void Run(REFERENCE_TIME start, IReferenceClock* clock);
    void Pause();
    bool IsConnected();

  private:
    // The current format, made from the capability list when nobody set one.
    const AM_MEDIA_TYPE& CurrentFormat();
    HRESULT TryConnect(IPin* receiver, const AM_MEDIA_TYPE& type);
    HRESULT SetUpAllocator(IMemInputPin* input, const AM_MEDIA_TYPE& type);
    int Camera() const;

    VcamFilter& owner_;
    CriticalSection lock_;
    ComPtr<IPin> peer_;
    ComPtr<IMemInputPin> input_;
    ComPtr<IMemAllocator> allocator_;
    OwnedMediaType connected_;
    OwnedMediaType current_;
    bool formatChosen_ = false; // SetFormat was called: only that format is offered
    FrameStreamer streamer_;
};

} // namespace vcam
