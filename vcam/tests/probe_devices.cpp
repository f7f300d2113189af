#include "probe_devices.h"

namespace probe {

bool ReadBag(IMoniker* moniker, const wchar_t* name, std::wstring* value) {
    ComPtr<IPropertyBag> bag;
    VARIANT read;
    VariantInit(&read);
    const bool found =
        SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                         reinterpret_cast<void**>(bag.GetAddressOf()))) &&
        SUCCEEDED(bag->Read(name, &read, nullptr)) && read.vt == VT_BSTR;
    if (found)
        *value = read.bstrVal;
    VariantClear(&read);
    return found;
}

std::vector<ListedDevice> ListCategory(const GUID& category) {
    std::vector<ListedDevice> devices;
    ComPtr<ICreateDevEnum> system;
    ComPtr<IEnumMoniker> monikers;
    // An empty category answers S_FALSE and no enumerator.
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum,
                                reinterpret_cast<void**>(system.GetAddressOf()))) ||
        system->CreateClassEnumerator(category, monikers.GetAddressOf(), 0) != S_OK)
        return devices;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ListedDevice device;
        device.moniker = moniker;
        ReadBag(moniker.Get(), L"FriendlyName", &device.name);
        LPOLESTR display = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(nullptr, nullptr, &display)) && display) {
            device.displayName = display;
            CoTaskMemFree(display);
        }
        devices.push_back(device);
    }
    return devices;
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

ComPtr<IBaseFilter> BindKey(const GUID& category, const wchar_t* key) {
    const auto listed = ListCategory(category);
    const ListedDevice* device = FindByKey(listed, key);
    ComPtr<IBaseFilter> filter;
    if (device)
        device->moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                      reinterpret_cast<void**>(filter.GetAddressOf()));
    return filter;
}

} // namespace probe
