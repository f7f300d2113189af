// The settings file: the file a first start creates, what later starts add, the camera check, and
// how stored values load.
#include "fixture.h"

#include "core/settings_path.h"
#include "settings/settings_file.h"

#include <cstring>

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

const std::string kGeneralAfterFirstStart = Lines(
    {"[General]", "NumberOfCameras=1", "InternalDisplay=0", "ImageSavePath=C:\\W1X9Image.bmp",
     "StartWithPreview=0", "ExitOnCapture=0", "CaptureOnStart=0", "UsePrintKeyToCaptureImages=0",
     "UseMinMaxOnPrintKey=0", "HideAppWhenInactive=0", "ImageCounter=0", "ReviewTimeMs=1500"});

const std::string kCamera0 =
    Lines({"[Camera0]", "Name=Parvanex Cam 1", "LEDInfo=3", "PowerScheme=1", "Brightness=128",
           "Contrast=32", "Saturation=64", "Sharpness=24", "WhiteBalance=4000",
           "BacklightCompensation=0", "Gain=0", "Zoom=100", "ExposureTime=333", "FocusValue=128",
           "Resolution=0", "ResolutionX=0", "ResolutionY=0"}) +
    Lines({"FlagBrightness=0", "FlagContrast=0", "FlagSaturation=0", "FlagSharpness=0",
           "FlagWhiteBalance=1", "FlagBacklightCompensation=0", "FlagGain=0", "FlagZoom=0",
           "FlagExposureTime=1", "FlagFocusValue=1", "FlagAutomatic=1"});

class SettingsFileTest : public SimTest {};

// The first start writes the camera's current values; the second adds the two options a first
// start leaves out; the third, with every option in the file, leaves it byte for byte.
TEST_F(SettingsFileTest, ThreeStartsWriteTheCameraThenAddTheTwoOptionsThenLeaveTheFile) {
    AddVendorCamera();
    ASSERT_EQ(Start(), sim::kLoopIdle);
    ASSERT_EQ(Ini(), kGeneralAfterFirstStart + kCamera0);
    EXPECT_FALSE(SettingsChanged);
    const std::string full =
        kGeneralAfterFirstStart + "IncrementImageName=0\r\nInitAndExit=0\r\n" + kCamera0;
    for (const std::string& file : {kGeneralAfterFirstStart + kCamera0, full}) {
        Restart(); // a new process with the same camera and the file of the start before
        WriteIni(file);
        AddVendorCamera();
        ASSERT_EQ(Start(), sim::kLoopIdle);
        EXPECT_EQ(Ini(), full);
    }
}

TEST_F(SettingsFileTest, NoCameraAndNoFileWritesCountZeroAndNoSection) {
    ASSERT_EQ(Start(), sim::kLoopIdle);
    EXPECT_EQ(Ini(),
              Lines({"[General]", "NumberOfCameras=0", "ImageSavePath=C:\\W1X9Image.bmp",
                     "StartWithPreview=0", "InternalDisplay=0", "ExitOnCapture=0",
                     "CaptureOnStart=0", "UsePrintKeyToCaptureImages=0", "UseMinMaxOnPrintKey=0",
                     "HideAppWhenInactive=0", "ImageCounter=0", "ReviewTimeMs=1500"}));
    EXPECT_TRUE(sim::Requests().empty());
}

TEST_F(SettingsFileTest, MoreCamerasStoredOrAnotherNameInSlotZeroIsAChangedConfiguration) {
    for (const std::string& file :
         {Lines({"[General]", "NumberOfCameras=2"}),
          Lines({"[General]", "NumberOfCameras=1", "[Camera0]", "Name=Parvanex Other"})}) {
        SCOPED_TRACE(file);
        Restart();
        AddVendorCamera();
        WriteIni(file);
        EXPECT_EQ(Start(), 0);
        EXPECT_TRUE(exitedEarly);
        EXPECT_EQ(Boxes(), std::vector<std::string>{
                               "Camera configuration changed: Please restore the previous Camera "
                               "Config or delete Framewright.ini File (0, no owner)"});
        // Nothing reached the camera after the check: the start-up values were never applied.
        for (const sim::Request& r : sim::Requests())
            EXPECT_NE(r.direction, sim::Direction::Set);
    }
}

TEST_F(SettingsFileTest, TwoCamerasAndAFileForOneLoadTheSecondAsNotStored) {
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    WriteIni(Lines({"[General]", "NumberOfCameras=1", "[Camera0]", "Name=Parvanex A",
                    "Brightness=77", "FlagGain=2", "FlagContrast=1"}));
    EXPECT_EQ(Start(), sim::kLoopIdle);
    EXPECT_TRUE(sim::TheDesktop().boxes.empty());
    EXPECT_EQ(CameraRecords[0].Brightness, 77);
    EXPECT_FALSE(CameraRecords[0].FlagGain); // only exactly 1 switches a flag on
    EXPECT_TRUE(CameraRecords[0].FlagContrast);
    EXPECT_EQ(CameraRecords[1].Brightness, -1);
    EXPECT_EQ(CameraRecords[1].Resolution, 0);
    EXPECT_EQ(CameraRecords[1].ResolutionX, 1920);
    EXPECT_EQ(CameraRecords[1].ResolutionY, 1080);
    EXPECT_FALSE(CameraRecords[1].FlagAutomatic);
}

TEST_F(SettingsFileTest, OptionsStoredAsMinusOneOrMissingTakeTheirDefaultsAndAreWritten) {
    StartWithCamera(Lines({"[General]", "ReviewTimeMs=-1", "ImageCounter=7", "ImageSavePath="}));
    EXPECT_EQ(General.ReviewTimeMs, 1500);
    EXPECT_EQ(General.ImageCounter, 7);
    const std::string ini = Ini();
    EXPECT_NE(ini.find("ReviewTimeMs=1500\r\n"), std::string::npos);
    EXPECT_NE(ini.find("ImageSavePath=C:\\W1X9Image.bmp\r\n"), std::string::npos);
    EXPECT_NE(ini.find("InitAndExit=0\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, ReviewTimeStoredAsZeroStaysZero) {
    StartWithCamera(Lines({"[General]", "ReviewTimeMs=0"}));
    EXPECT_EQ(General.ReviewTimeMs, 0);
}

TEST_F(SettingsFileTest, SaveSkipsASlotWithoutNameButCountsIt) {
    Shell.camerasFound = 2;
    std::strcpy(CameraRecords[0].Name, "Parvanex A");
    ComputeSettingsPath();
    SaveSettings(SettingsPath());
    const std::string ini = Ini();
    EXPECT_NE(ini.find("NumberOfCameras=2"), std::string::npos);
    EXPECT_NE(ini.find("[Camera0]"), std::string::npos);
    EXPECT_EQ(ini.find("[Camera1]"), std::string::npos);
}

TEST_F(SettingsFileTest, ATooLongCurrentDirectoryFallsBackToARelativePath) {
    sim::Files().currentDirectory = "C:\\" + std::string(250, 'd');
    ComputeSettingsPath();
    EXPECT_STREQ(SettingsPath(), ".\\Framewright.ini");
    sim::Files().currentDirectory = "C:\\" + std::string(240, 'd');
    ComputeSettingsPath();
    EXPECT_EQ(std::string(SettingsPath()), sim::Files().currentDirectory + "\\Framewright.ini");
}

} // namespace
