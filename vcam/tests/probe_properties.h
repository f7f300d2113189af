// Checks of the camera's property interfaces: ranges and defaults, limits, and the vendor set.
#pragma once

#include "probe_support.h"

#include <vector>

namespace probe {

// Every IAMVideoProcAmp / IAMCameraControl property reports the configured range and starts at
// its default (a camera with an empty state file).
void CheckDefaults(IBaseFilter* camera, int index);
// Sets inside and outside the ranges; leaves brightness at 200 (manual).
void CheckStandardRequests(IBaseFilter* camera, int index);
// The vendor set's layouts, defaults, short buffers and refused values; leaves the LED in
// identification (0,0,0,2,255), zoom 150 and exposure manual 100.
void CheckVendorSet(IBaseFilter* camera, int index);

// The words of a vendor property, empty when Get fails; *result receives its HRESULT.
std::vector<int> VendorWords(IBaseFilter* camera, DWORD id, DWORD size, HRESULT* result);
HRESULT SetVendorWords(IBaseFilter* camera, DWORD id, const std::vector<int>& words);
HRESULT GetBrightness(IBaseFilter* camera, long* value, long* flags);
HRESULT SetBrightness(IBaseFilter* camera, long value);

} // namespace probe
