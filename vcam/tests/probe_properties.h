// Checks of the camera's property interfaces: ranges and defaults, the limits of writes, and the
// vendor set's layouts and refusals.
#pragma once

#include "probe_support.h"

#include <vector>

namespace probe {

// On a camera without configuration and with an empty state file.
void CheckProperties(IBaseFilter* camera);

// The words of a vendor property, empty when Get fails; *result receives its HRESULT.
std::vector<int> VendorWords(IBaseFilter* camera, DWORD id, DWORD size, HRESULT* result);
HRESULT SetVendorWords(IBaseFilter* camera, DWORD id, const std::vector<int>& words);
HRESULT GetBrightness(IBaseFilter* camera, long* value, long* flags);
HRESULT SetBrightness(IBaseFilter* camera, long value);

} // namespace probe
