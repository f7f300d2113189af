// Discovery over arbitrary device lists: any number of devices in either category, property bags
// and names that cannot be read, names that are no string, and friendly names of any length and
// content (empty, unpaired surrogates, units that narrow to a terminator, line breaks or blanks).
//
// Input: one byte for the number of devices, then per device a flags byte, a byte for where the
// vendor word goes, two bytes for the name's length in UTF-16 units (up to 1,100), and the units
// (two bytes each; when the input runs out, a filler pattern). One more byte picks the slot for
// the preview graph's lookup.
//
// Oracle: at most six cameras; slots filled in the platform's order with exactly the devices whose
// name is a readable string with the vendor word; each stored name is the narrowing of the
// friendly name cut to the record and terminated; every later slot untouched; each filter bound to
// its own device and none leaked; the graph's lookup binds a found slot's device again (by its
// path) and for a later slot the slot-th vendor device of the capture category; the names survive
// a save and the configuration check of a second start, while a changed name in any slot is
// refused.
#include "../common/fresh_tool.h"
#include "byte_reader.h"
#include "camera/capture_filters.h"
#include "camera/friendly_name.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "fuzz_check.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "settings/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum Flags : uint8_t {
    kNotInVideoInput = 1,
    kBagFails = 2,
    kNameFails = 4,
    kNameNotString = 8,
    kBindFails = 16,
    kWithVendorWord = 32,
    kNotInCapture = 64,
};

struct DeviceSpec {
    uint8_t flags;
    std::u16string name;
};

const std::u16string kVendorWord = u"Parvanex";

DeviceSpec ReadDevice(ByteReader& in) {
    DeviceSpec d;
    d.flags = in.Take<uint8_t>();
    const uint8_t wordAt = in.Take<uint8_t>();
    const size_t length = in.Take<uint16_t>() % 1101;
    for (size_t i = 0; i < length; ++i) { // a unit the input has no two bytes left for: a filler
        const bool whole = in.Left() >= 2;
        const uint16_t unit = in.Take<uint16_t>();
        d.name += static_cast<char16_t>(whole ? unit : u'a' + i % 26);
    }
    if (d.flags & kWithVendorWord)
        d.name.insert(std::min<size_t>(wordAt, d.name.size()), kVendorWord);
    return d;
}

// What discovery and the graph's lookup see of a device: a readable string with the vendor word.
bool IsListedCamera(const DeviceSpec& d) {
    return !(d.flags & (kBagFails | kNameFails | kNameNotString)) &&
           d.name.find(kVendorWord) != std::u16string::npos;
}

void CheckName(int slot, const std::u16string& friendlyName) {
    const char* name = CameraRecords[slot].Name;
    const size_t kept = std::min<size_t>(friendlyName.size(), sizeof CameraRecords[slot].Name - 1);
    for (size_t i = 0; i < kept; ++i)
        CHECK(static_cast<uint8_t>(name[i]) == (friendlyName[i] & 0xFF),
              "slot %d unit %zu: expected 0x%02x, got 0x%02x", slot, i, friendlyName[i] & 0xFF,
              static_cast<uint8_t>(name[i]));
    CHECK(name[kept] == '\0', "slot %d: no terminator after %zu characters", slot, kept);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FreshTool();
    ByteReader in{data, size};
    const int count = in.Take<uint8_t>() % 12;
    std::vector<DeviceSpec> devices;
    for (int i = 0; i < count; ++i) {
        DeviceSpec d = ReadDevice(in);
        sim::SimCamera camera = sim::VendorCamera(d.name);
        camera.inVideoInput = !(d.flags & kNotInVideoInput);
        camera.inCapture = !(d.flags & kNotInCapture);
        if (d.flags & kBagFails)
            camera.bagResult = static_cast<platform::HResult>(0x80070005u);
        if (d.flags & kNameFails)
            camera.nameResult = static_cast<platform::HResult>(0x80070002u);
        if (d.flags & kNameNotString)
            camera.nameType = 3; // VT_I4
        camera.bindFails = (d.flags & kBindFails) != 0;
        sim::AddCamera(camera);
        devices.push_back(d);
    }
    const uint8_t choice = in.Take<uint8_t>();

    // Discovery finds the vendor's cameras of the video input category, in order, at most six;
    // the capture category's vendor devices are the graph's lookup's for a slot without a path.
    std::vector<int> expected, capture;
    for (int i = 0; i < count; ++i) {
        if (!IsListedCamera(devices[i]))
            continue;
        if (!(devices[i].flags & kNotInVideoInput) && expected.size() < kMaxCameras)
            expected.push_back(i);
        if (!(devices[i].flags & kNotInCapture))
            capture.push_back(i);
    }
    const int found = DiscoverCameras();
    CHECK(found == static_cast<int>(expected.size()), "expected %zu cameras, found %d",
          expected.size(), found);
    int bound = 0;
    for (int slot = 0; slot < found; ++slot) {
        const int device = expected[slot];
        CHECK(CameraRecords[slot].Device == &CaptureFilters[slot], "slot %d: Device", slot);
        if (devices[device].flags & kBindFails) {
            CHECK(CaptureFilters[slot] == nullptr, "slot %d: a filter for an unbindable device",
                  slot);
        } else {
            CHECK(sim::CameraOfFilter(CaptureFilters[slot]) == device,
                  "slot %d: expected device %d, filter of %d", slot, device,
                  sim::CameraOfFilter(CaptureFilters[slot]));
            ++bound;
        }
        CheckName(slot, devices[device].name);
    }
    for (int slot = found; slot < kMaxCameras; ++slot)
        CHECK(CameraRecords[slot].Device == nullptr && CameraRecords[slot].Name[0] == '\0' &&
                  CaptureFilters[slot] == nullptr,
              "slot %d beyond the %d found was written", slot, found);
    CHECK(sim::FiltersAlive() == bound, "filters alive %d, bound %d", sim::FiltersAlive(), bound);

    // The graph's lookup: a found slot's camera again, by the path discovery read (or the entry as
    // it was, when that device is not in the capture category), and for a later slot the slot-th
    // vendor device of the capture category.
    const int slot = choice % (kMaxCameras + 1);
    if (slot < kMaxCameras) {
        int want = sim::CameraOfFilter(CaptureFilters[slot]);
        if (slot >= found && slot < static_cast<int>(capture.size()))
            want = (devices[capture[slot]].flags & kBindFails) ? -1 : capture[slot];
        AddCameraToGraph(slot);
        CHECK(sim::CameraOfFilter(CaptureFilters[slot]) == want,
              "lookup of slot %d: expected device %d, got %d", slot, want,
              sim::CameraOfFilter(CaptureFilters[slot]));
    }

    // The names survive a save and the configuration check of a second start with the same
    // cameras, and a different name in any slot counts as a change (unless the slot has no stored
    // name: an empty one is never written).
    Shell.camerasFound = found;
    ComputeSettingsPath();
    SaveSettings(SettingsPath());
    const std::string* saved = sim::FindFile(SettingsPath());
    CHECK(LoadCameraSections() == SectionsResult::Loaded,
          "the same %d cameras refused after a save of\n%s", found,
          saved ? Printable(*saved).c_str() : "no file");
    for (int changed = 0; changed < found; ++changed) {
        char* name = CameraRecords[changed].Name;
        const size_t length = std::strlen(name);
        if (length == 0)
            continue;
        const std::string original = name;
        name[length - 1] = name[length - 1] == 'x' ? 'y' : 'x';
        CHECK(LoadCameraSections() == SectionsResult::OtherCamera,
              "slot %d renamed from \"%s\" to \"%s\" accepted", changed, original.c_str(), name);
        std::strcpy(name, original.c_str());
    }
    CHECK(LoadCameraSections() == SectionsResult::Loaded,
          "the cameras refused after their names came back");
    return 0;
}
