#include "camera/capture_filters.h"

#include "camera/friendly_name.h"
#include "camera/preview_graph.h"
#include "platform/held.h"
#include "platform/media_graph.h"

platform::Filter CaptureFilters[kMaxCameras];
std::u16string CaptureDevicePaths[kMaxCameras];

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

bool SameDevicePath(const std::u16string& a, const std::u16string& b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
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
        // Empty when the device has none (or it cannot be read): the graph's lookup then counts.
        CaptureDevicePaths[found].clear();
        if (platform::Failed(platform::ReadDevicePath(device.Get(), &CaptureDevicePaths[found])))
            CaptureDevicePaths[found].clear();
        CameraRecords[found].Device = &CaptureFilters[found];
        NarrowName(friendlyName, CameraRecords[found].Name, sizeof CameraRecords[found].Name);
        ++found;
    }
    return found;
}

namespace {

enum class PathWalk { Matched, NoneMatched, SomeWithout };

// Walks the capture category to its end and hands the vendor's device that atSlot should get to
// it: with a path, the device carrying it (the rest of the walk is the same); without one, the
// slot-th of the vendor's devices in the list's order. The result of the last call made,
// atSlot's included; reading a path is no such call, as the lookup of old made none.
template <class AtSlot>
platform::HResult WalkCaptureDevices(int slot, const std::u16string& path, AtSlot atSlot,
                                     PathWalk* walk) {
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
        if (path.empty()) {
            if (index == slot)
                last = atSlot(device.Get());
        } else if (*walk != PathWalk::Matched) {
            std::u16string devicePath;
            if (platform::Failed(platform::ReadDevicePath(device.Get(), &devicePath)) ||
                devicePath.empty()) {
                *walk = PathWalk::SomeWithout;
            } else if (SameDevicePath(devicePath, path)) {
                *walk = PathWalk::Matched;
                last = atSlot(device.Get());
            }
        }
        ++index;
    }
    return last;
}

// The slot's camera in the capture category. That category also lists audio capture devices, and
// a webcam's microphone carries the camera's name: counting the vendor's devices would bind the
// microphone when it comes first. So the device with the path discovery read is taken; where that
// path, or the path of a device in this list, is missing (the virtual camera under Wine may be
// registered without one), the slot-th of the vendor's devices, as the lookup always did. A slot
// whose path no device carries while every one has a path is not in the list.
template <class AtSlot> platform::HResult FindCaptureDevice(int slot, AtSlot atSlot) {
    const std::u16string& path = CaptureDevicePaths[slot];
    PathWalk walk = PathWalk::NoneMatched;
    const platform::HResult byPath = WalkCaptureDevices(slot, path, atSlot, &walk);
    if (path.empty() || walk != PathWalk::SomeWithout)
        return byPath;
    return WalkCaptureDevices(slot, std::u16string(), atSlot, &walk);
}

} // namespace

platform::HResult AddCameraToGraph(int slot) {
    return FindCaptureDevice(slot, [slot](platform::Device device) {
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
    const platform::HResult walked = FindCaptureDevice(slot, [&](platform::Device device) {
        camera = platform::BindFilter(device);
        added =
            camera ? platform::AddFilterToGraph(graph, camera, "Parvanex Camera") : platform::kFail;
        return added;
    });
    *result = camera ? added : (platform::Failed(walked) ? walked : platform::kFail);
    return camera;
}
