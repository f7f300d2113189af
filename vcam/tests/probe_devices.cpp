#include "probe_devices.h"

namespace probe {

std::vector<ListedDevice> ListCategory(const GUID& category) {
    std::vector<ListedDevice> devices;
    ComPtr<ICreateDevEnum> system;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum,
                                reinterpret_cast<void**>(system.GetAddressOf()))))
        return devices;
    ComPtr<IEnumMoniker> monikers;
    // An empty category answers S_FALSE and no enumerator.
    if (system->CreateClassEnumerator(category, monikers.GetAddressOf(), 0) != S_OK)
        return devices;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ListedDevice device;
        device.moniker = moniker;
        ComPtr<IPropertyBag> bag;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                             reinterpret_cast<void**>(bag.GetAddressOf())))) {
            VARIANT value;
            VariantInit(&value);
            if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR)
                device.name = value.bstrVal;
            VariantClear(&value);
        }
        LPOLESTR display = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(nullptr, nullptr, &display)) && display) {
            device.displayName = display;
            CoTaskMemFree(display);
        }
        devices.push_back(device);
    }
    return devices;
}

ComPtr<IBaseFilter> Bind(const ListedDevice& device) {
    ComPtr<IBaseFilter> filter;
    device.moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                 reinterpret_cast<void**>(filter.GetAddressOf()));
    return filter;
}

const ListedDevice* FindByKey(const std::vector<ListedDevice>& devices, const wchar_t* key) {
    const std::wstring tail = std::wstring(L"\\") + key;
    for (const ListedDevice& device : devices)
        if (device.displayName.size() >= tail.size() &&
            device.displayName.compare(device.displayName.size() - tail.size(), tail.size(),
                                       tail) == 0)
            return &device;
    return nullptr;
}

} // namespace probe
