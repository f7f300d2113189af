// The vendor property set: data layouts, the LED codes, Identify, and the exposure retry.
#include "fixture.h"
#include "request_log.h"

#include "properties/camera_records.h"
#include "properties/vendor_properties.h"

namespace {

class VendorPropertiesTest : public DiscoveredCameraTest {};

// The LED writes' words and codes: PanelScenarioTest's radio buttons and the automatic apply.
TEST_F(VendorPropertiesTest, ARefusedLedWriteStillSetsTheCode) {
    record.LEDInfo = 3;
    sim::Reject(camera, sim::Interface::Vendor, sim::Direction::Set, 7);
    EXPECT_EQ(SetLedOff(0), platform::kFail);
    EXPECT_EQ(record.LEDInfo, 0);
}

TEST_F(VendorPropertiesTest, ReadingTheLedKeepsTheCodeForAModeItDoesNotKnow) {
    record.LEDInfo = 1;
    sim::Camera(camera).vendor[7] = {0, 0, 0, 2, 255};
    EXPECT_EQ(GetLedMode(0), platform::kOk);
    EXPECT_EQ(record.LEDInfo, 1);
    sim::Camera(camera).vendor[7] = {0, 0, 0, 3, 0};
    GetLedMode(0);
    EXPECT_EQ(record.LEDInfo, 3);
}

TEST_F(VendorPropertiesTest, IdentifySignalsFor650MsThenRestoresTheRecordsMode) {
    for (int32_t code : {3, 2, 1, 0, -1}) {
        record.LEDInfo = code;
        const uint64_t before = sim::TheDesktop().now;
        EXPECT_EQ(IdentifyCamera(0), platform::kOk);
        EXPECT_EQ(sim::TheDesktop().now - before, 650u);
        const int32_t restored = code == 0 ? 0 : code == 1 ? 1 : 3;
        EXPECT_EQ(TakeRequests(),
                  (Strings{"vendor set 7 0 0 0 2 255",
                           "vendor set 7 0 0 0 " + std::to_string(restored) + " 255"}))
            << "LEDInfo " << code;
        EXPECT_EQ(record.LEDInfo, code);
    }
}

TEST_F(VendorPropertiesTest, IdentifyStopsWhereTheCameraRefuses) {
    sim::Reject(camera, sim::Interface::Vendor, sim::Direction::Set, 7,
                static_cast<platform::HResult>(1));
    EXPECT_EQ(IdentifyCamera(0), platform::kFail); // a positive status counts as a refusal too
    EXPECT_EQ(TakeRequests().size(), 1u);
}

TEST_F(VendorPropertiesTest, ARejectedExposureWriteResetsTheControlDefaultAndTriesOnce) {
    sim::Reject(camera, sim::Interface::Vendor, sim::Direction::Set, 5);
    EXPECT_EQ(SetVendorExposure(0, 2500, 2), platform::kFail);
    EXPECT_EQ(TakeRequests(), (Strings{"vendor set 5 2 0 0 2500", "control range 4",
                                       "control set 4 -6 1", "vendor set 5 2 0 0 2500"}));
    sim::Reject(camera, sim::Interface::Vendor, sim::Direction::Set, 5,
                static_cast<platform::HResult>(0x80004005u), 1);
    EXPECT_EQ(SetVendorExposure(0, 300, 1), platform::kOk);
    EXPECT_EQ(TakeRequests().size(), 4u);
}

TEST_F(VendorPropertiesTest, NoCameraOrNoInterfaceMakesNoRequest) {
    EXPECT_EQ(SetLedOn(4), platform::kOk);
    EXPECT_EQ(IdentifyCamera(-1), platform::kOk);
    sim::Camera(camera).withholdPropertySet = true;
    record.LEDInfo = 3;
    EXPECT_EQ(SetLedOff(0), platform::kNoInterface);
    EXPECT_EQ(record.LEDInfo, 3);
    EXPECT_TRUE(sim::Requests().empty());
}

} // namespace
