// Discovery: the vendor test, the slots, the names and the filters. Two cameras of one name and a
// seventh camera left out: UsbChurnTest, whose seven devices hold both.
#include "fixture.h"

#include "platform/sim/sim_graph.h"

namespace {

class DiscoveryTest : public SimTest {};

TEST_F(DiscoveryTest, FindsTheVendorWordAnywhereButOnlyInItsOwnCase) {
    sim::AddCamera(sim::VendorCamera(u"USB PARVANEX Cam"));
    sim::AddCamera(sim::VendorCamera(u"Model Parvanex 900"));
    sim::AddCamera(sim::VendorCamera(u"Integrated Webcam"));
    EXPECT_EQ(DiscoverCameras(), 1);
    EXPECT_STREQ(CameraRecords[0].Name, "Model Parvanex 900");
    EXPECT_EQ(sim::CameraOfFilter(CaptureFilters[0]), 1);
    EXPECT_EQ(CameraRecords[0].Device, &CaptureFilters[0]);
    EXPECT_EQ(CaptureFilters[1], nullptr);
}

TEST_F(DiscoveryTest, UnreadableDevicesAreSkippedAndUnbindableOnesCounted) {
    sim::SimCamera noBag = sim::VendorCamera(u"Parvanex bag");
    noBag.bagResult = static_cast<platform::HResult>(0x80070005);
    sim::AddCamera(noBag);
    sim::SimCamera noName = sim::VendorCamera(u"Parvanex name");
    noName.nameResult = static_cast<platform::HResult>(0x80070002);
    sim::AddCamera(noName);
    sim::SimCamera unbound = sim::VendorCamera(u"Parvanex unbound");
    unbound.bindFails = true;
    sim::AddCamera(unbound);
    AddVendorCamera(u"Parvanex ok");
    EXPECT_EQ(DiscoverCameras(), 2);
    EXPECT_STREQ(CameraRecords[0].Name, "Parvanex unbound");
    EXPECT_EQ(CaptureFilters[0], nullptr);
    EXPECT_EQ(CameraRecords[0].Device, &CaptureFilters[0]); // a discovered slot, without a filter
    EXPECT_STREQ(CameraRecords[1].Name, "Parvanex ok");
}

TEST_F(DiscoveryTest, ANameThatIsNoStringSkipsTheDeviceInBothLookups) {
    sim::SimCamera numbered = sim::VendorCamera(u"Parvanex number");
    numbered.nameType = 3; // VT_I4: the bag holds a number under "FriendlyName"
    sim::AddCamera(numbered);
    AddVendorCamera(u"Parvanex ok");
    sim::AddCamera(numbered);
    EXPECT_EQ(DiscoverCameras(), 1);
    EXPECT_STREQ(CameraRecords[0].Name, "Parvanex ok");
    EXPECT_EQ(sim::CameraOfFilter(CaptureFilters[0]), 1);
    // The graph's lookup binds the same device; its status is that of the last call made, the
    // failed read of the third device's name.
    EXPECT_EQ(AddCameraToGraph(0), platform::kFail);
    EXPECT_EQ(sim::CameraOfFilter(CaptureFilters[0]), 1);
}

TEST_F(DiscoveryTest, NoEnumeratorOrAnEmptyCategoryFindsNothingAndChangesNoRecord) {
    EXPECT_EQ(DiscoverCameras(), 0);
    AddVendorCamera();
    sim::FailDeviceEnumerator(static_cast<platform::HResult>(0x80040154));
    EXPECT_EQ(DiscoverCameras(), 0);
    EXPECT_EQ(CameraRecords[0].Device, nullptr);
    EXPECT_STREQ(CameraRecords[0].Name, "");
}

TEST_F(DiscoveryTest, RediscoveryReplacesFiltersWithoutLeakingAndKeepsLaterSlots) {
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    ASSERT_EQ(DiscoverCameras(), 2);
    sim::Camera(1).inVideoInput = false; // unplugged, seen by a camera selection's discovery
    EXPECT_EQ(DiscoverCameras(), 1);
    EXPECT_STREQ(CameraRecords[1].Name, "Parvanex B");
    EXPECT_EQ(sim::FiltersAlive(), 2); // slot 0 replaced, slot 1 kept from before
}

// The capture category also lists a webcam's microphone, with the camera's name. The graph's
// lookup binds the device whose path discovery read; where a path is missing on either side it
// counts the vendor's devices as it always did.
TEST_F(DiscoveryTest, TheGraphsLookupBindsTheDeviceDiscoveryFound) {
    const struct {
        const char* name;
        bool micFirst;      // a capture-only "Microphone (Parvanex ...)" listed before the camera
        bool cameraHasPath; // the camera's "DevicePath" is registered
        bool micHasPath;    // the microphone's
        int expectedCamera; // the device the lookup binds (0 the microphone, 1 the camera)
    } cases[] = {
        {"in step", false, true, true, 1},
        {"in step without paths", false, false, false, 1},
        {"microphone first", true, true, true, 1},
        {"microphone first without its path", true, true, false, 1},
        // Without the camera's path only the count is left, as before.
        {"microphone first, camera without path", true, false, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        sim::SimCamera mic = sim::VendorCamera(u"Microphone (Parvanex Cam 1)");
        mic.inVideoInput = false;
        mic.hasDevicePath = c.micHasPath;
        mic.inCapture = c.micFirst;
        sim::AddCamera(mic);
        sim::SimCamera camera = sim::VendorCamera(u"Parvanex Cam 1");
        camera.hasDevicePath = c.cameraHasPath;
        sim::AddCamera(camera);
        ASSERT_EQ(DiscoverCameras(), 1);
        EXPECT_EQ(sim::CameraOfFilter(CaptureFilters[0]), 1);

        platform::GraphObject graphObject = nullptr;
        ASSERT_EQ(platform::CreateFilterGraph(&graphObject), platform::kOk);
        ASSERT_EQ(platform::QueryFilterGraph(graphObject, &PreviewGraph.Graph), platform::kOk);
        EXPECT_EQ(AddCameraToGraph(0), platform::kOk);
        EXPECT_EQ(sim::CameraOfFilter(CaptureFilters[0]), c.expectedCamera);
        platform::HResult result = platform::kFail;
        platform::Filter cli = BindCameraIntoGraph(0, PreviewGraph.Graph, &result);
        EXPECT_EQ(sim::CameraOfFilter(cli), c.expectedCamera);
        if (cli)
            platform::Release(cli);
        platform::Release(PreviewGraph.Graph);
        PreviewGraph.Graph = nullptr;
        platform::Release(graphObject);
    }
}

} // namespace
