// The probe's view of the cameras: as the system device enumerator lists them, bound the way an
// application binds them.
#pragma once

#include "probe_support.h"

#include <string>
#include <vector>

namespace probe {

struct ListedDevice {
    std::wstring name;        // FriendlyName
    std::wstring displayName; // "@device:sw:{category}\vcam00"
    ComPtr<IMoniker> moniker;
};

// In enumeration order; empty when the category is empty (S_FALSE).
std::vector<ListedDevice> ListCategory(const GUID& category);
// The listed device whose display name ends in "\<key>", or null.
const ListedDevice* FindByKey(const std::vector<ListedDevice>& devices, const wchar_t* key);
// The camera of that key in that category, bound; null when it is not listed.
ComPtr<IBaseFilter> BindKey(const GUID& category, const wchar_t* key);
// A string of the device's property bag; false when it has none.
bool ReadBag(IMoniker* moniker, const wchar_t* name, std::wstring* value);

} // namespace probe
