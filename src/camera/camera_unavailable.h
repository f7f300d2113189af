// The results with which a camera refuses to stream because it is not ours to use right now, and
// what each program says for each: one row per result in camera_unavailable.cpp.
#pragma once

#include "platform/types.h"

#include <string>

// HRESULT_FROM_WIN32(ERROR_BUSY): another program streams from the camera.
constexpr platform::HResult kCameraBusy = static_cast<platform::HResult>(0x800700AAu);
// HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION): the same, as some drivers say it.
constexpr platform::HResult kCameraShared = static_cast<platform::HResult>(0x80070020u);
// E_ACCESSDENIED: camera access is switched off in the privacy settings.
constexpr platform::HResult kCameraDenied = static_cast<platform::HResult>(0x80070005u);

// The window program's status text for such a result, or null for any other result.
const char* CameraUnavailableText(platform::HResult result);

// The command-line program's message for such a result about camera number (1 to 6), or empty
// for any other result.
std::string CameraUnavailableMessage(platform::HResult result, int number);
