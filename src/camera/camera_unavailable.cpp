#include "camera/camera_unavailable.h"

namespace {

struct Unavailable {
    platform::HResult result;
    const char* statusText;
    // Follows "camera N": the command-line program names the camera first.
    const char* messageAfterCamera;
};

constexpr Unavailable kUnavailable[] = {
    {kCameraBusy, "Camera in use by another program", " is in use by another program"},
    {kCameraShared, "Camera in use by another program", " is in use by another program"},
    {kCameraDenied, "Camera access is switched off in the privacy settings",
     ": access to the camera is switched off in the privacy settings"},
};

const Unavailable* Find(platform::HResult result) {
    for (const Unavailable& u : kUnavailable)
        if (u.result == result)
            return &u;
    return nullptr;
}

} // namespace

const char* CameraUnavailableText(platform::HResult result) {
    const Unavailable* u = Find(result);
    return u ? u->statusText : nullptr;
}

std::string CameraUnavailableMessage(platform::HResult result, int number) {
    const Unavailable* u = Find(result);
    return u ? "camera " + std::to_string(number) + u->messageAfterCamera : std::string();
}
