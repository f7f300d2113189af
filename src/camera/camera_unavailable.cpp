#include "camera/camera_unavailable.h"

namespace {

struct Unavailable {
    platform::HResult result;
    const char* text;
};

constexpr Unavailable kUnavailable[] = {
    {kCameraBusy, "Camera in use by another program"},
    {kCameraDenied, "Camera access is switched off in the privacy settings"},
};

} // namespace

const char* CameraUnavailableText(platform::HResult result) {
    for (const Unavailable& u : kUnavailable)
        if (u.result == result)
            return u.text;
    return nullptr;
}
