#include "camera/capture_filters.h"

#include "camera/friendly_name.h"
#include "camera/preview_graph.h"
#include "platform/held.h"
#include "platform/media_graph.h"

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

void ReleaseCaptureFilters() {
    for (int slot = 0; slot < kMaxCameras; ++slot)
        ReleaseCaptureFilter(slot);
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

namespace {

// Walks the capture category to its end and hands the device of the slot (the vendor's cameras
// counted in the list's order) to atSlot; the result of the last call made, atSlot's included.
template <class AtSlot> platform::HResult WalkCaptureDevices(int slot, AtSlot atSlot) {
    platform::Held<platform::DeviceList> devices;
    const platform::HResult opened =
        platform::OpenDeviceList(platform::DeviceCategory::Capture, devices.Receive());
    if (opened != platform::kOk || !devices)
        return opened;
    platform::HResult last = platform::kOk;
    int index = 0;
    // The walk goes on to the end of the list; the status is that of the last call made.
    while (platform::Device next = platform::NextDevice(devices.Get())) {
        platform::Held<platform::Device> device(next);
        std::u16string friendlyName;
        last = platform::ReadFriendlyName(device.Get(), &friendlyName);
        if (platform::Failed(last) || !IsVendorCamera(friendlyName))
            continue;
        if (index == slot)
            last = atSlot(device.Get());
        ++index;
    }
    return last;
}

} // namespace

platform::HResult AddCameraToGraph(int slot) {
    return WalkCaptureDevices(slot, [slot](platform::Device device) {
        StoreFilter(slot, platform::BindFilter(device));
        return CaptureFilters[slot]
                   ? platform::AddFilterToGraph(PreviewGraph.Graph, CaptureFilters[slot],
                                                "Parvanex Camera")
                   : platform::kFail;
    });
}

platform::Filter BindCameraIntoGraph(int slot, platform::FilterGraph graph,
                                     platform::HResult* result) {
    platform::Filter camera = nullptr;
    platform::HResult added = platform::kFail;
    const platform::HResult walked = WalkCaptureDevices(slot, [&](platform::Device device) {
        camera = platform::BindFilter(device);
        added =
            camera ? platform::AddFilterToGraph(graph, camera, "Parvanex Camera") : platform::kFail;
        return added;
    });
    *result = camera ? added : (platform::Failed(walked) ? walked : platform::kFail);
    return camera;
}
