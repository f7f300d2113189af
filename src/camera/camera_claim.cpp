#include "camera/camera_claim.h"

#include "core/camera_settings.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

// What names the same camera in two processes. Both list the devices in the platform's order and
// fill their slots from it, but a slot's number alone moves when a camera before it is pulled out
// while a preview runs: the window program's claim would then name another camera than the one
// it streams from. The friendly name stays with the device; the count of earlier cameras of the
// same name tells identical cameras apart as long as none of them goes. (The device's path would
// tell them apart for good, but the platform does not hand it out and the virtual camera has
// none.) The name is hashed: a friendly name may be 255 characters of any bytes, and a claim's
// name must be ASCII, without backslash, and at most 260 characters.
//
// The global namespace: the camera is one device for the whole machine, so a script run in
// another session (a scheduled task, a service) is refused as well. A mutex needs no privilege to
// be created there; another user's claim counts as held (see NamedClaimHeld).

namespace {

uint64_t Fnv1a64(const char* text) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (const char* c = text; *c; ++c) {
        hash ^= static_cast<unsigned char>(*c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

} // namespace

std::string PreviewClaimName(int slot) {
    const CameraSettings* record = RecordOf(slot);
    if (!record)
        return std::string();
    int sameNameBefore = 0;
    for (int earlier = 0; earlier < slot; ++earlier)
        if (std::strcmp(CameraRecords[earlier].Name, record->Name) == 0)
            ++sameNameBefore;
    char name[64];
    std::snprintf(name, sizeof name, "Global\\Framewright.Preview.%016llx.%d",
                  static_cast<unsigned long long>(Fnv1a64(record->Name)), sameNameBefore);
    return name;
}
