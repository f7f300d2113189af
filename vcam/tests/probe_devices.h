// The probe's view of the cameras: as the system device enumerator lists them, bound the way an
// application binds them.
#pragma once

#include "probe_support.h"

#include <vector>

namespace probe {

struct ListedDevice {
    std::wstring name;        // FriendlyName
    std::wstring displayName; // "@device:sw:{category}\vcam00"
    ComPtr<IMoniker> moniker;
};

// In enumeration order; empty when the category is empty (S_FALSE).
std::vector<ListedDevice> ListCategory(const GUID& category);
ComPtr<IBaseFilter> Bind(const ListedDevice& device);
// The listed device whose display name ends in "\<key>", or null.
const ListedDevice* FindByKey(const std::vector<ListedDevice>& devices, const wchar_t* key);

} // namespace probe
