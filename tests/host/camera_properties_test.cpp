// The standard properties, the exposure mode with its frame-rate lock, and whole records read
// from and applied to the camera.
#include "fixture.h"
#include "request_log.h"

#include "properties/camera_records.h"
#include "properties/exposure_mode.h"
#include "properties/standard_properties.h"

namespace {

constexpr platform::HResult kRejected = static_cast<platform::HResult>(0x80070057u);

class CameraPropertiesTest : public DiscoveredCameraTest {
  protected:
    void RecordForApply() {
        record.PowerScheme = 2;
        record.LEDInfo = 3;
        record.Brightness = 140;
        record.Contrast = 30;
        record.Saturation = 60;
        record.Sharpness = 20;
        record.WhiteBalance = 5000;
        record.BacklightCompensation = 1;
        record.Gain = 10;
        record.Zoom = 120;
        record.ExposureTime = 2500;
        record.FocusValue = 40;
    }
};

TEST_F(CameraPropertiesTest, ApplyInManualModeWritesEveryPropertyInOrder) {
    RecordForApply();
    record.FlagAutomatic = false;
    ApplyCameraSettings();
    EXPECT_EQ(TakeRequests(), (Strings{
                                  "procamp set 13 2 2",
                                  "procamp set 0 140 2",
                                  "control range 4",
                                  "control set 4 -6 2",
                                  "vendor set 5 2 0 0 2500",
                                  "control set 19 0 2",
                                  "procamp set 1 30 2",
                                  "procamp set 3 60 2",
                                  "procamp set 4 20 2",
                                  "procamp set 7 5000 2",
                                  "procamp set 8 1 2",
                                  "procamp set 9 10 2",
                                  "vendor set 3 0 0 0 120",
                                  "vendor set 5 2 0 0 2500",
                                  "control set 6 40 2",
                              }));
    EXPECT_FALSE(record.FlagExposureTime);
}

TEST_F(CameraPropertiesTest, ApplyInAutoModeSwitchesExposureFirstAndStillWritesManualTime) {
    RecordForApply();
    record.FlagAutomatic = true;
    record.FlagWhiteBalance = true;
    record.LEDInfo = 2;
    ApplyCameraSettings();
    EXPECT_EQ(TakeRequests(), (Strings{
                                  "procamp set 13 2 2",
                                  "vendor set 7 0 0 0 3 0",
                                  "control range 4",
                                  "control set 4 -6 1",
                                  "control set 19 1 1",
                                  "procamp set 0 140 2",
                                  "procamp set 1 30 2",
                                  "procamp set 3 60 2",
                                  "procamp set 4 20 2",
                                  "procamp set 8 1 2",
                                  "procamp set 9 10 2",
                                  "vendor set 3 0 0 0 120",
                                  "vendor set 5 2 0 0 2500",
                                  "control set 6 40 2",
                              }));
    EXPECT_EQ(record.LEDInfo, 3); // the automatic write leaves the camera's code
    EXPECT_TRUE(record.FlagExposureTime);
}

// The zoom's evenness: ZoomEvennessTest.
TEST_F(CameraPropertiesTest, ApplyConventionsForFocusBacklightAndLed) {
    RecordForApply();
    record.FocusValue = -1;
    record.BacklightCompensation = 2;
    record.LEDInfo = -1;
    ApplyCameraSettings();
    const Strings requests = TakeRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), "control set 6 128 1");
    for (const std::string& r : requests) {
        EXPECT_NE(r.rfind("procamp set 8", 0), 0u) << "backlight 2 must not be written";
        EXPECT_NE(r.rfind("vendor set 7", 0), 0u) << "LED code -1 must not be written";
    }
}

TEST_F(CameraPropertiesTest, SlotWithoutCameraMakesNoCallAndGivesTheDocumentedResults) {
    platform::PropertyRange range{1, 2, 3, 4, 5};
    EXPECT_GE(GetVideoProcAmpRange(3, 0, &range), 0);
    EXPECT_EQ(range.maximum, 2);
    EXPECT_EQ(GetCameraControlRange(3, 6, &range), platform::kFail);
    EXPECT_EQ(SetExposureMode(3, 1), platform::kFail);
    EXPECT_EQ(SetFocus(-1, 5), platform::kFail);
    EXPECT_EQ(SetPowerLineFrequency(4, 1, 2), -1);
    EXPECT_EQ(ReadCameraSettings(5), -1);
    Shell.selectedCamera = -1;
    ApplyCameraSettings();
    EXPECT_TRUE(sim::Requests().empty());
}

TEST_F(CameraPropertiesTest, AnInterfaceTheFilterDoesNotOfferGivesFailAndNothingElse) {
    sim::Camera(camera).withholdProcAmp = true;
    sim::Camera(camera).withholdCameraControl = true;
    int32_t value = 0, flags = 0;
    EXPECT_EQ(GetVideoProcAmp(0, 0, &value, &flags), platform::kFail);
    EXPECT_EQ(SetVideoProcAmp(0, 0, 1, 2), platform::kFail);
    EXPECT_EQ(SetExposureMode(0, 2), platform::kFail);
    EXPECT_EQ(SetFocus(0, 3), platform::kFail);
    EXPECT_TRUE(sim::Requests().empty());
    EXPECT_TRUE(sim::TheDesktop().debugTexts.empty());
}

TEST_F(CameraPropertiesTest, ExposureModeWithARejectedFrameRateLock) {
    sim::Reject(camera, sim::Interface::CameraControl, sim::Direction::Set, 19);
    record.FlagExposureTime = true;
    EXPECT_EQ(SetExposureMode(0, 2), platform::kFail);
    EXPECT_FALSE(record.FlagExposureTime);
    EXPECT_EQ(sim::TheDesktop().debugTexts, Strings{"Could not set constant Framerate !\n"});
    EXPECT_EQ(sim::TheDesktop().standardError, "Failed to lock framerate\n");
    sim::TheDesktop().debugTexts.clear();
    EXPECT_EQ(SetExposureMode(0, 1), platform::kFail);
    EXPECT_EQ(sim::TheDesktop().debugTexts, Strings{"Could not enable Clarivance !\n"});
}

TEST_F(CameraPropertiesTest, ExposureModeWithARejectedRangeQueryWritesOnlyTheLock) {
    sim::Reject(camera, sim::Interface::CameraControl, sim::Direction::Range, 4);
    record.FlagExposureTime = true;
    EXPECT_EQ(SetExposureMode(0, 2), platform::kOk);
    EXPECT_EQ(TakeRequests(), (Strings{"control range 4", "control set 19 0 2"}));
    EXPECT_TRUE(record.FlagExposureTime);
}

TEST_F(CameraPropertiesTest, ExposureModeWithARejectedExposureWriteStopsThere) {
    sim::Reject(camera, sim::Interface::CameraControl, sim::Direction::Set, 4);
    EXPECT_EQ(SetExposureMode(0, 1), kRejected);
    EXPECT_EQ(TakeRequests(), (Strings{"control range 4", "control set 4 -6 1"}));
    EXPECT_EQ(sim::TheDesktop().debugTexts,
              Strings{"Could not set the exposure time to automatic!\n"});
    EXPECT_TRUE(sim::TheDesktop().standardError.empty());
}

// A whole read of the camera's state: the files of SettingsFileTest's first start and of
// CliApplySaveTest's save of a camera whose values all differ.
TEST_F(CameraPropertiesTest, AFailedReadLeavesTheFieldButARejectedVendorExposureStoresZero) {
    record.Contrast = 77;
    record.Zoom = 9;
    record.ExposureTime = 500;
    record.FlagAutomatic = true;
    sim::Reject(camera, sim::Interface::ProcAmp, sim::Direction::Get, 1);
    sim::Reject(camera, sim::Interface::Vendor, sim::Direction::Get, 3);
    sim::Reject(camera, sim::Interface::Vendor, sim::Direction::Get, 5);
    ReadCameraSettings(0);
    EXPECT_EQ(record.Contrast, 77);
    EXPECT_EQ(record.Zoom, 9);
    EXPECT_EQ(record.ExposureTime, 0);
    EXPECT_FALSE(record.FlagExposureTime);
    EXPECT_FALSE(record.FlagAutomatic);
}

TEST_F(CameraPropertiesTest, WithoutTheVendorInterfaceTheExposureFieldsStay) {
    sim::Camera(camera).withholdPropertySet = true;
    record.ExposureTime = 500;
    record.FlagAutomatic = true;
    record.LEDInfo = 1;
    EXPECT_EQ(ReadCameraSettings(0), platform::kNoInterface);
    EXPECT_EQ(record.ExposureTime, 500);
    EXPECT_TRUE(record.FlagAutomatic);
    EXPECT_EQ(record.LEDInfo, 1);
}

} // namespace
