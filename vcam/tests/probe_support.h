// What the probe's checks share: the pass/fail tally, the GUIDs MinGW does not declare, and the
// camera's request log.
#pragma once

#define STRSAFE_NO_DEPRECATE
#include <windows.h>

#include <dshow.h>
#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace probe {

extern const GUID kSampleGrabberClass;
extern const GUID kSampleGrabberInterface;
extern const GUID kNullRendererClass;
extern const GUID kVmr9Class;
extern const GUID kVendorSet;
extern const GUID kCaptureCategory;

// Prints "ok   <text>" or "FAIL <text>" and counts failures.
void Check(bool passed, const char* format, ...);
void Note(const char* format, ...);
int Failures();
int Checks();

// The request log's contents (FRAMEWRIGHT_VCAM_LOG), re-read on every call.
std::string RequestLog();
// True when some log line contains the text.
bool Logged(const std::string& text);
// An environment path converted like the camera does: "/x/y" -> "Z:\x\y".
std::wstring EnvironmentPath(const wchar_t* name, const wchar_t* fallback);

std::string Utf8(const std::wstring& text);
constexpr HRESULT kDeviceGone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

} // namespace probe
