// What the probe's checks share: the pass/fail tally and the GUIDs MinGW does not declare.
#pragma once

#define STRSAFE_NO_DEPRECATE
#include <windows.h>

#include <dshow.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace probe {

extern const GUID kSampleGrabberClass;
extern const GUID kSampleGrabberInterface;
extern const GUID kNullRendererClass;
extern const GUID kVendorSet;
extern const GUID kCaptureCategory;

// Prints "ok   <text>" or "FAIL <text>" and counts failures.
void Check(bool passed, const char* format, ...);
int Failures();
int Checks();

constexpr HRESULT kDeviceGone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

} // namespace probe
