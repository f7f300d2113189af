// The results with which a camera refuses to stream because it is not ours to use right now, and
// what the status bar says for each.
#pragma once

#include "platform/types.h"

// HRESULT_FROM_WIN32(ERROR_BUSY): another program streams from the camera.
constexpr platform::HResult kCameraBusy = static_cast<platform::HResult>(0x800700AAu);
// E_ACCESSDENIED: camera access is switched off in the privacy settings.
constexpr platform::HResult kCameraDenied = static_cast<platform::HResult>(0x80070005u);

// The status text for such a result, or null for any other result.
const char* CameraUnavailableText(platform::HResult result);
