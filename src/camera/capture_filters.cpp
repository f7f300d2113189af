#include "camera/capture_filters.h"

#include "camera/friendly_name.h"
#include "platform/held.h"

platform::Filter CaptureFilters[kMaxCameras];

namespace {

// Replaces a slot's filter: the earlier reference is released at once, since the graph holds its
// own reference to any filter it contains.
void StoreFilter(int slot, platform::Filter filter) {
    ReleaseCaptureFilter(slot);
    CaptureFilters[slot] = filter;
}

} // namespace

void ReleaseCaptureFilter(int slot) {
    if (CaptureFilters[slot]) {
        platform::Release(CaptureFilters[slot]);
        CaptureFilters[slot] = nullptr;
    }
}

int DiscoverCameras() {
    platform::InitializeComOnThread();
    platform::Held<platform::DeviceList> devices;
    if (platform::OpenDeviceList(platform::DeviceCategory::VideoInput, devices.Receive()) !=
            platform::kOk ||
        !devices)
        return 0;
    int found = 0;
    while (platform::Device next = platform::NextDevice(devices.Get())) {
        platform::Held<platform::Device> device(next);
        std::u16string friendlyName;
        if (platform::Failed(platform::ReadFriendlyName(device.Get(), &friendlyName)))
            continue;
        if (!IsVendorCamera(friendlyName))
            continue;
        // Six slots: a seventh camera and any later one are left out.
        if (found == kMaxCameras)
            break;
        StoreFilter(found, platform::BindFilter(device.Get()));
        CameraRecords[found].Device = &CaptureFilters[found];
        NarrowName(friendlyName, CameraRecords[found].Name, sizeof CameraRecords[found].Name);
        ++found;
    }
    return found;
}
