// Discovery: the devices of a category through the system device enumerator, their friendly
// names and their capture filters.
#include "platform/win32/com_handles_win32.h"
#include "platform/win32/guids_win32.h"
#include "platform/win32/variant_holder_win32.h"

namespace platform {

using Microsoft::WRL::ComPtr;

void InitializeComOnThread() {
    // S_FALSE (already initialised) and RPC_E_CHANGED_MODE both leave COM usable on this thread.
    (void)CoInitialize(nullptr);
}

HResult OpenDeviceList(DeviceCategory category, DeviceList* list) {
    *list = nullptr;
    ComPtr<ICreateDevEnum> devices;
    HRESULT result = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ICreateDevEnum, &devices);
    if (FAILED(result))
        return result;
    const GUID& categoryGuid = category == DeviceCategory::VideoInput
                                   ? CLSID_VideoInputDeviceCategory
                                   : win32::kCaptureCategory;
    IEnumMoniker* enumerator = nullptr;
    result = devices->CreateClassEnumerator(categoryGuid, &enumerator, 0);
    // An empty category answers S_FALSE with no enumerator; only S_OK hands one out.
    if (result == S_OK && enumerator)
        *list = reinterpret_cast<DeviceList>(enumerator);
    else if (enumerator)
        enumerator->Release();
    return result;
}

Device NextDevice(DeviceList list) {
    IMoniker* moniker = nullptr;
    if (win32::ToEnum(list)->Next(1, &moniker, nullptr) != S_OK)
        return nullptr;
    return reinterpret_cast<Device>(moniker);
}

namespace {

// One string value of the device's property bag.
HResult ReadBagString(Device device, const wchar_t* property, std::u16string* text) {
    ComPtr<IPropertyBag> bag;
    HRESULT result =
        win32::ToMoniker(device)->BindToStorage(nullptr, nullptr, IID_IPropertyBag, &bag);
    if (FAILED(result))
        return result;
    win32::HeldVariant value;
    result = bag->Read(property, value.Get(), nullptr);
    if (FAILED(result))
        return result;
    // A value of another type is no text the tool can use.
    if ((*value).vt != VT_BSTR)
        return E_FAIL;
    const BSTR bstr = (*value).bstrVal;
    text->assign(reinterpret_cast<const char16_t*>(bstr), bstr ? SysStringLen(bstr) : 0);
    return result;
}

} // namespace

HResult ReadFriendlyName(Device device, std::u16string* name) {
    return ReadBagString(device, L"FriendlyName", name);
}

HResult ReadDevicePath(Device device, std::u16string* path) {
    return ReadBagString(device, L"DevicePath", path);
}

Filter BindFilter(Device device) {
    IBaseFilter* filter = nullptr;
    if (FAILED(win32::ToMoniker(device)->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                                      reinterpret_cast<void**>(&filter))))
        return nullptr;
    return reinterpret_cast<Filter>(filter);
}

void AddRef(Filter filter) {
    win32::ToFilter(filter)->AddRef();
}

void Release(Filter filter) {
    win32::ToFilter(filter)->Release();
}

void Release(DeviceList list) {
    win32::ToEnum(list)->Release();
}

void Release(Device device) {
    win32::ToMoniker(device)->Release();
}

} // namespace platform
