// The stand-in converter of the test prefix: a DirectShow transform filter with one input pin
// (YUY2, NV12 or MJPG video) and one output pin (RGB24, bottom-up), converting each sample on the
// upstream filter's streaming thread and passing it on at once. Written on the COM interfaces of
// MinGW-w64's headers, without DirectShow's base classes, like the virtual camera.
#pragma once

#include "convert_enums.h"
#include "convert_media.h"
#include "jpeg_decoder.h"
#include "win_holders.h"

#include <wrl/client.h>

namespace convert {

using Microsoft::WRL::ComPtr;
using vcam::CriticalSection;
using vcam::Lock;

extern const GUID kConverterClass;
extern const wchar_t kConverterName[];

class ConvertFilter;

class InputPin final : public IPin, public IMemInputPin {
  public:
    explicit InputPin(ConvertFilter& owner) : owner_(owner) {}

    // IUnknown (the filter's count)
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IPin
    STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_OK; }

    // The connection type (empty when not connected); read only while the graph is stopped or
    // on the streaming thread, when it cannot change.
    const AM_MEDIA_TYPE& Type() const { return type_.type; }
    bool Connected() const { return static_cast<bool>(peer_); }
    bool Flushing() const { return flushing_ != 0; }

  private:
    ConvertFilter& owner_;
    CriticalSection lock_;
    ComPtr<IPin> peer_;
    ComPtr<IMemAllocator> allocator_;
    OwnedMediaType type_;
    volatile LONG flushing_ = 0;
};

class OutputPin final : public IPin {
  public:
    explicit OutputPin(ConvertFilter& owner) : owner_(owner) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override {
        return E_UNEXPECTED;
    }

    bool Connected() const { return static_cast<bool>(peer_); }
    // The downstream pin and its sample interface, the allocator of the connection.
    IPin* Peer() const { return peer_.Get(); }
    IMemInputPin* PeerInput() const { return peerInput_.Get(); }
    IMemAllocator* Allocator() const { return allocator_.Get(); }

  private:
    HRESULT SetUpAllocator(IMemInputPin* input, long frameBytes);

    ConvertFilter& owner_;
    CriticalSection lock_;
    ComPtr<IPin> peer_;
    ComPtr<IMemInputPin> peerInput_;
    ComPtr<IMemAllocator> allocator_;
    OwnedMediaType type_;
};

class ConvertFilter final : public IBaseFilter, CountedObject {
  public:
    static HRESULT Create(REFIID iid, void** out);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    CriticalSection& FilterLock() { return lock_; }
    FILTER_STATE StateUnlocked() const { return state_; }
    InputPin& Input() { return input_; }
    OutputPin& Output() { return output_; }
    // One input sample converted and sent downstream (the input pin's Receive).
    HRESULT Transform(IMediaSample* sample);

  private:
    ConvertFilter() = default;
    ~ConvertFilter();

    LONG references_ = 1;
    CriticalSection lock_;       // state, clock, graph, connections
    CriticalSection streamLock_; // one sample at a time
    FILTER_STATE state_ = State_Stopped;
    IReferenceClock* clock_ = nullptr;
    IFilterGraph* graph_ = nullptr; // not held: the graph holds the filter
    wchar_t name_[MAX_FILTER_NAME] = {};
    InputPin input_{*this};
    OutputPin output_{*this};
    JpegScratch jpegScratch_; // used under streamLock_
};

} // namespace convert
