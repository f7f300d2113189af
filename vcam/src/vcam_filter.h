// The capture source filter: one object per bound camera. Besides IBaseFilter it answers
// IPersistPropertyBag (the device enumerator passes the Instance key's values, among them the
// InstanceIndex telling which camera this is), IAMVideoProcAmp, IAMCameraControl (through a
// sub-object), IKsPropertySet with the vendor set, and IAMFilterMiscFlags (a source).
#pragma once

#include "camera_control.h"
#include "camera_device.h"
#include "module_counts.h"
#include "output_pin.h"

#include <memory>
#include <string>

namespace vcam {

class VcamFilter final : public IBaseFilter,
                         public IPersistPropertyBag,
                         public IAMVideoProcAmp,
                         public IKsPropertySet,
                         public IAMFilterMiscFlags,
                         private CountedObject {
  public:
    static HRESULT Create(REFIID iid, void** out);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPersist (for IBaseFilter and IPersistPropertyBag both)
    STDMETHODIMP GetClassID(CLSID* id) override;
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
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;
    // IPersistPropertyBag
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* errors) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    // IAMVideoProcAmp
    STDMETHODIMP GetRange(LONG id, LONG* minimum, LONG* maximum, LONG* step, LONG* defaultValue,
                          LONG* caps) override;
    STDMETHODIMP Set(LONG id, LONG value, LONG flags) override;
    STDMETHODIMP Get(LONG id, LONG* value, LONG* flags) override;
    // IKsPropertySet: the vendor set
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD size) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD size, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;
    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override;

    CameraDevice& Device() { return *device_; }
    IPin* Pin() { return &pin_; }
    CriticalSection& FilterLock() { return lock_; }
    FILTER_STATE StateUnlocked() const { return state_; }
    IFilterGraph* Graph() const { return graph_; }
    IMediaEventSink* Events() const { return events_; }

  private:
    VcamFilter();
    ~VcamFilter();
    // The interface, or null when the configuration withholds it; logs the query.
    void* PropertyInterface(Interface which, void* pointer);

    LONG references_ = 1;
    CriticalSection lock_;
    FILTER_STATE state_ = State_Stopped;
    ComPtr<IReferenceClock> clock_;
    IFilterGraph* graph_ = nullptr;     // not held: the graph holds the filter
    IMediaEventSink* events_ = nullptr; // the graph's, not held either
    std::wstring name_;
    std::unique_ptr<CameraDevice> device_;
    CameraControl control_;
    OutputPin pin_;
};

} // namespace vcam
