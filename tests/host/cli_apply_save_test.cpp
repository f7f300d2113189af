// apply and save against the settings file: apply makes the camera requests of the window
// program's InitAndExit start, checks the file against the cameras as that start does, acts on no
// option and writes nothing; save writes what a first start writes, which the window program then
// loads without a question.
#include "cli_fixture.h"

namespace {

class CliApplySaveTest : public CliTest {
  protected:
    // The file a first start of the window program writes for the cameras attached.
    static std::string FirstStartFile() {
        Start();
        const std::string file = Ini();
        ReleasePreviewGraph();
        return file;
    }
};

TEST_F(CliApplySaveTest, ApplyMakesTheRequestsOfTheWindowProgramsInitAndExitStart) {
    AddVendorCamera();
    std::string file = FirstStartFile();
    // A manual record unlike the camera's values, InitAndExit on with a preview and the Print key
    // asked for, and the options that a start would write back missing.
    Replace(file, "Brightness=128", "Brightness=90");
    Replace(file, "Zoom=100", "Zoom=151");
    Replace(file, "FlagWhiteBalance=1", "FlagWhiteBalance=0");
    Replace(file, "WhiteBalance=4000", "WhiteBalance=5000");
    Replace(file, "FlagAutomatic=1", "FlagAutomatic=0");
    Replace(file, "LEDInfo=3", "LEDInfo=1");
    Replace(file, "ReviewTimeMs=1500\r\n", "InitAndExit=1\r\n");
    Replace(file, "StartWithPreview=0", "StartWithPreview=1");
    Replace(file, "UsePrintKeyToCaptureImages=0", "UsePrintKeyToCaptureImages=1");

    RestartWithCamera();
    WriteIni(file);
    EXPECT_EQ(Start(), 0);
    ASSERT_TRUE(exitedEarly);
    EXPECT_EQ(DesktopCalls("SetTimer 253 100"), 0); // ended before the preview's timer and the hook
    EXPECT_EQ(DesktopCalls("InstallKeyboardHook"), 0);
    const Strings window = TakeRequests();

    RestartWithCamera();
    WriteIni(file);
    EXPECT_EQ(Cli({"apply"}),
              (CliRun{0, "camera 1: [Camera0] of C:\\work\\Framewright.ini applied\n", ""}));
    const Strings cli = TakeRequests();
    EXPECT_EQ(Ini(), file); // nothing written: no option, no default
    // The window program's start reads the camera's ranges for its panel first; from its first
    // write on, both make the same requests.
    ASSERT_GE(window.size(), cli.size());
    const size_t panelReads = window.size() - cli.size();
    EXPECT_EQ(std::vector<std::string>(window.begin() + panelReads, window.end()), cli);
    for (size_t i = 0; i < panelReads; ++i)
        EXPECT_EQ(window[i].find(" set "), std::string::npos) << window[i];
    ASSERT_FALSE(cli.empty());
    EXPECT_EQ(cli.front(), "procamp set 13 1 2");
    EXPECT_EQ(cli.back(), "control set 6 128 2");
    EXPECT_EQ(sim::Camera(0).procAmp[0].value, 90);
    EXPECT_EQ(sim::Camera(0).vendor[3][3], 152);
}

TEST_F(CliApplySaveTest, ApplyOfTheSecondCameraFromAnotherFile) {
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    std::string file = FirstStartFile();
    Replace(file, "[Camera1]\r\nName=Parvanex B\r\nLEDInfo=3\r\nPowerScheme=1\r\nBrightness=128",
            "[Camera1]\r\nName=Parvanex B\r\nLEDInfo=3\r\nPowerScheme=1\r\nBrightness=33");
    Restart();
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    sim::Files().files["C:\\work\\other.ini"] = file;
    EXPECT_EQ(Cli({"apply", "--camera", "2", "--settings", "other.ini"}),
              (CliRun{0, "camera 2: [Camera1] of .\\other.ini applied\n", ""}));
    EXPECT_EQ(sim::Camera(1).procAmp[0].value, 33);
    for (const sim::Request& r : sim::Requests())
        EXPECT_EQ(r.camera, 1);
    EXPECT_EQ(sim::FindFile(IniPath()), nullptr);
    EXPECT_EQ(sim::Files().files["C:\\work\\other.ini"], file);
}

TEST_F(CliApplySaveTest, ApplyOfAFileThatCannotBeReadOrNamesOtherCamerasExitsFive) {
    AddVendorCamera();
    const std::string file = FirstStartFile();
    struct Case {
        const char* what;
        std::string file; // empty: no file
        bool unreadable;
        std::string message;
    };
    std::string otherName = file, moreCameras = file;
    Replace(otherName, "Name=Parvanex Cam 1", "Name=Parvanex Elsewhere");
    Replace(moreCameras, "NumberOfCameras=1", "NumberOfCameras=2");
    const std::string describesOthers =
        "FramewrightCli: the settings file C:\\work\\Framewright.ini describes other cameras than "
        "those attached\n";
    const std::string cannotRead =
        "FramewrightCli: cannot read the settings file C:\\work\\Framewright.ini\n";
    const Case cases[] = {
        {"no file", "", false, cannotRead},
        {"held by another program", file, true, cannotRead},
        {"another camera's name", otherName, false, describesOthers},
        {"more cameras stored", moreCameras, false, describesOthers},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RestartWithCamera();
        if (!c.file.empty())
            WriteIni(c.file);
        if (c.unreadable)
            sim::Files().unreadable.insert(IniPath());
        EXPECT_EQ(Cli({"apply"}), (CliRun{5, "", c.message}));
        EXPECT_TRUE(sim::Requests().empty());
        if (c.file.empty()) {
            EXPECT_EQ(sim::FindFile(IniPath()), nullptr) << "a file was written";
        } else {
            EXPECT_EQ(Ini(), c.file);
        }
    }
}

TEST_F(CliApplySaveTest, ApplyNamesEachRefusalAndMakesTheOtherRequests) {
    AddVendorCamera();
    std::string file = FirstStartFile();
    Replace(file, "FlagAutomatic=1", "FlagAutomatic=0");
    RestartWithCamera();
    WriteIni(file);
    sim::Reject(0, sim::Interface::ProcAmp, sim::Direction::Set, 13);
    sim::Reject(0, sim::Interface::Vendor, sim::Direction::Set, 3);
    sim::Reject(0, sim::Interface::CameraControl, sim::Direction::Set, 19);
    EXPECT_EQ(Cli({"apply"}),
              (CliRun{4, "camera 1: [Camera0] of C:\\work\\Framewright.ini applied\n",
                      "FramewrightCli: camera 1 refused PowerScheme: 0x80070057\n"
                      "FramewrightCli: camera 1 refused CameraMode: 0x80004005\n"
                      "FramewrightCli: camera 1 refused Zoom: 0x80004005\n"}));
    const Strings requests = TakeRequests();
    EXPECT_EQ(requests.front(), "procamp set 13 1 2");
    EXPECT_EQ(requests.back(), "control set 6 128 2");
}

TEST_F(CliApplySaveTest, SaveWritesWhatAFirstStartWritesAndTheWindowProgramAsksNothing) {
    sim::AddCamera(ChangedCamera(u"Parvanex A"));
    AddVendorCamera(u"Parvanex B");
    const std::string firstStart = FirstStartFile();

    Restart();
    sim::AddCamera(ChangedCamera(u"Parvanex A"));
    AddVendorCamera(u"Parvanex B");
    EXPECT_EQ(Cli({"save"}), (CliRun{0, "2 cameras saved to C:\\work\\Framewright.ini\n", ""}));
    EXPECT_EQ(Ini(), firstStart);
    for (const std::string& request : TakeRequests())
        EXPECT_EQ(request.find(" set "), std::string::npos) << request;

    // The window program with the saved file: no box, a start that stays up.
    const std::string saved = Ini();
    Restart();
    sim::AddCamera(ChangedCamera(u"Parvanex A"));
    AddVendorCamera(u"Parvanex B");
    WriteIni(saved);
    EXPECT_EQ(Start(), sim::kLoopIdle);
    EXPECT_FALSE(exitedEarly);
    EXPECT_TRUE(sim::TheDesktop().boxes.empty());
    EXPECT_EQ(CameraRecords[0].Brightness, 77);
}

TEST_F(CliApplySaveTest, SaveKeepsTheOptionsTheFileHolds) {
    AddVendorCamera();
    std::string file = FirstStartFile();
    Replace(file, "InternalDisplay=0", "InternalDisplay=1");
    Replace(file, "StartWithPreview=0", "StartWithPreview=1");
    Replace(file, "ImageSavePath=C:\\W1X9Image.bmp", "ImageSavePath=D:\\shots\\x.bmp");
    Replace(file, "ReviewTimeMs=1500\r\n", "ReviewTimeMs=700\r\nInitAndExit=1\r\n");
    Replace(file, "Brightness=128", "Brightness=10");
    Restart();
    sim::AddCamera(ChangedCamera(u"Parvanex Cam 1"));
    WriteIni(file);
    EXPECT_EQ(Cli({"save"}).code, 0);
    std::string expected = file;
    Replace(expected, "Brightness=10", "Brightness=77");
    Replace(expected, "LEDInfo=3", "LEDInfo=1");
    Replace(expected, "PowerScheme=1", "PowerScheme=2");
    Replace(expected, "Zoom=100", "Zoom=250");
    Replace(expected, "ExposureTime=333", "ExposureTime=500");
    Replace(expected, "FlagExposureTime=1", "FlagExposureTime=0");
    Replace(expected, "FlagAutomatic=1", "FlagAutomatic=0");
    Replace(expected, "WhiteBalance=4000", "WhiteBalance=5100");
    Replace(expected, "FlagWhiteBalance=1", "FlagWhiteBalance=0");
    Replace(expected, "FocusValue=128", "FocusValue=40");
    Replace(expected, "FlagFocusValue=1", "FlagFocusValue=0");
    EXPECT_EQ(Ini(), expected);
}

TEST_F(CliApplySaveTest, SaveToAnotherFileOrOneThatCannotBeWritten) {
    AddVendorCamera();
    EXPECT_EQ(Cli({"save", "--settings", "D:\\config\\fw.ini"}),
              (CliRun{0, "1 camera saved to D:\\config\\fw.ini\n", ""}));
    ASSERT_NE(sim::FindFile("D:\\config\\fw.ini"), nullptr);
    EXPECT_EQ(sim::FindFile(IniPath()), nullptr);

    sim::Files().unwritable.insert(IniPath());
    EXPECT_EQ(
        Cli({"save"}),
        (CliRun{5, "",
                "FramewrightCli: cannot write the settings file C:\\work\\Framewright.ini\n"}));
}

} // namespace
