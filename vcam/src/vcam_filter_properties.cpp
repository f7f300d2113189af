// The filter's property interfaces and IPersistPropertyBag; each request goes to CameraDevice,
// which checks, answers and logs it.
#include "camera_control.h"
#include "request_log.h"
#include "text_files.h"
#include "vcam_filter.h"
#include "vcam_guids.h"

namespace vcam {

STDMETHODIMP VcamFilter::InitNew() {
    return S_OK;
}

STDMETHODIMP VcamFilter::Load(IPropertyBag* bag, IErrorLog* errors) {
    if (!bag)
        return E_POINTER;
    Lock lock(lock_);
    if (state_ != State_Stopped || pin_.IsConnected())
        return E_UNEXPECTED;
    int index = 0;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    // Instance keys without the value (registered by hand) stand for camera 0.
    if (SUCCEEDED(bag->Read(L"InstanceIndex", &value, errors)) && value.vt == VT_I4)
        index = value.lVal;
    VariantClear(&value);
    std::string name;
    value.vt = VT_BSTR;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &value, errors)) && value.vt == VT_BSTR)
        name = WideToUtf8(value.bstrVal ? value.bstrVal : L"");
    VariantClear(&value);
    device_ = std::make_unique<CameraDevice>(index);
    pin_.ResetFormat();
    const HRESULT result = device_->Presence();
    LogRequest(index, "bind name=\"" + name + "\"", result);
    return result;
}

STDMETHODIMP VcamFilter::Save(IPropertyBag*, BOOL, BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP VcamFilter::GetRange(LONG id, LONG* minimum, LONG* maximum, LONG* step,
                                  LONG* defaultValue, LONG* caps) {
    return device_->Range(Interface::ProcAmp, id, minimum, maximum, step, defaultValue, caps);
}

STDMETHODIMP VcamFilter::Set(LONG id, LONG value, LONG flags) {
    return device_->Set(Interface::ProcAmp, id, value, flags);
}

STDMETHODIMP VcamFilter::Get(LONG id, LONG* value, LONG* flags) {
    return device_->Get(Interface::ProcAmp, id, value, flags);
}

// Sets other than the vendor's are not the camera's; they are logged with their GUID.
static HRESULT OtherSet(int camera, const char* what, REFGUID set, DWORD id) {
    wchar_t text[64];
    StringFromGUID2(set, text, 64);
    LogRequest(camera,
               std::string("ksproperty ") + what + " set=" + WideToUtf8(text) +
                   " id=" + std::to_string(id),
               E_PROP_SET_UNSUPPORTED);
    return E_PROP_SET_UNSUPPORTED;
}

STDMETHODIMP VcamFilter::Set(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size) {
    if (set != kVendorPropertySet)
        return OtherSet(device_->Index(), "set", set, id);
    return device_->VendorSet(id, data, size);
}

STDMETHODIMP VcamFilter::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size,
                             DWORD* returned) {
    if (set != kVendorPropertySet)
        return OtherSet(device_->Index(), "get", set, id);
    return device_->VendorGet(id, data, size, returned);
}

STDMETHODIMP VcamFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != kVendorPropertySet)
        return OtherSet(device_->Index(), "support", set, id);
    return device_->VendorSupport(id, support);
}

STDMETHODIMP_(ULONG) VcamFilter::GetMiscFlags() {
    return AM_FILTER_MISC_FLAGS_IS_SOURCE;
}

STDMETHODIMP CameraControl::QueryInterface(REFIID iid, void** out) {
    return owner_.QueryInterface(iid, out);
}

STDMETHODIMP_(ULONG) CameraControl::AddRef() {
    return owner_.AddRef();
}

STDMETHODIMP_(ULONG) CameraControl::Release() {
    return owner_.Release();
}

STDMETHODIMP CameraControl::GetRange(LONG id, LONG* minimum, LONG* maximum, LONG* step,
                                     LONG* defaultValue, LONG* caps) {
    return owner_.Device().Range(Interface::CameraControl, id, minimum, maximum, step, defaultValue,
                                 caps);
}

STDMETHODIMP CameraControl::Set(LONG id, LONG value, LONG flags) {
    return owner_.Device().Set(Interface::CameraControl, id, value, flags);
}

STDMETHODIMP CameraControl::Get(LONG id, LONG* value, LONG* flags) {
    return owner_.Device().Get(Interface::CameraControl, id, value, flags);
}

} // namespace vcam
