// The panel at work, driven as an operator would: sliders, check boxes, radio buttons, the close
// box and the Exit button, and what the status bar, the record, the camera and the file show.
#include "fixture.h"
#include "request_log.h"

#include "panel/panel_sync.h"
#include "properties/camera_records.h"
#include "platform/constants.h"

#include <cstring>

namespace {

class PanelScenarioTest : public SimTest {
  protected:
    void StartWithCamera() {
        SimTest::StartWithCamera();
        sim::Requests().clear();
    }
};

TEST_F(PanelScenarioTest, ExposureSliderShowsSecondsWithFourDecimals) {
    StartWithCamera();
    sim::MoveSlider(IDC_TBEXPTIM, 3);
    EXPECT_EQ(Status(), "Exposure Time Value: 0.0003 seconds");
    sim::MoveSlider(IDC_TBEXPTIM, 10000);
    EXPECT_EQ(Status(), "Exposure Time Value: 1.0000 seconds");
    EXPECT_EQ(CameraRecords[0].ExposureTime, 10000);
    EXPECT_EQ(TakeRequests(), (Strings{"vendor set 5 2 0 0 3", "vendor set 5 2 0 0 10000"}));
    EXPECT_EQ(sim::Control(IDC_RBMODMAN)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBMODAUT)->check, 0);
    EXPECT_FALSE(CameraRecords[0].FlagAutomatic);
    EXPECT_EQ(sim::Control(IDC_CKEXPTIM)->check, 0);
    EXPECT_TRUE(CameraRecords[0].FlagExposureTime); // the flag itself is left alone
    EXPECT_TRUE(SettingsChanged);
}

TEST_F(PanelScenarioTest, FocusThumbAbove255GoesToOneButThePositionIsSent) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex Wide Focus");
    c.cameraControl[6].range.maximum = 1023;
    sim::AddCamera(c);
    WriteIni("[General]\r\n"); // an existing file: the load takes the camera's ranges
    ASSERT_EQ(Start(), sim::kLoopIdle);
    sim::Requests().clear();
    sim::MoveSlider(IDC_TBFOCUS, 300);
    EXPECT_EQ(sim::Control(IDC_TBFOCUS)->trackbarPos, 1);
    EXPECT_EQ(Status(), "Focus Value: 300");
    EXPECT_EQ(TakeRequests(), Strings{"control set 6 300 2"});
    EXPECT_EQ(sim::Control(IDC_CKFOCUS)->check, 0);
}

// Each slider after a start in the automatic camera mode: its value in the status bar, one write
// of its property, and "Manual" for the properties that leave that mode.
TEST_F(PanelScenarioTest, EachSliderShowsItsValueAndWritesItsProperty) {
    const struct {
        int slider;
        int32_t position;
        const char* status;
        const char* request;
        int manual;
    } cases[] = {
        {IDC_TBBRIGHT, 200, "Brightness Value: 200", "procamp set 0 200 2", 1},
        {IDC_TBCONTRA, 77, "Contrast Value: 77", "procamp set 1 77 2", 0},
        {IDC_TBSATURA, 90, "Saturation Value: 90", "procamp set 3 90 2", 0},
        {IDC_TBSHARPN, 12, "Sharpness Value: 12", "procamp set 4 12 2", 0},
        {IDC_TBWHIBAL, 7000, "White Balance Value: 7000", "procamp set 7 7000 2", 1},
        {IDC_TBBACKCO, 1, "BackLight Compensation Value: 1", "procamp set 8 1 2", 0},
        {IDC_TBGAIN, 42, "Gain Value: 42", "procamp set 9 42 2", 0},
        {IDC_TBZOOM, 151, "Zoom Value: 152", "vendor set 3 0 0 0 152", 0},
        {IDC_TBFOCUS, 200, "Focus Value: 200", "control set 6 200 2", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Restart();
        StartWithCamera();
        sim::MoveSlider(c.slider, c.position);
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(TakeRequests(), Strings{c.request});
        EXPECT_EQ(sim::Control(IDC_RBMODMAN)->check, c.manual);
    }
}

// The check boxes that only tell of their click: each shows its box, worded after the new check
// mark; nothing changes but the close's question.
TEST_F(PanelScenarioTest, TheNoticeCheckBoxesShowTheirBoxAndOnlyTheCloseQuestionFollows) {
    // A camera whose picture properties can all be automatic: the load enables every box.
    sim::SimCamera c = sim::VendorCamera(u"Parvanex Auto");
    for (const int property : {0, 1, 3, 4, 8, 9})
        c.procAmp[property].range.capabilities = 3;
    sim::AddCamera(c);
    ASSERT_EQ(Start(), sim::kLoopIdle);
    sim::Requests().clear();
    const CameraSettings before = CameraRecords[0];
    const std::pair<int, const char*> boxes[] = {
        {IDC_CKBRIGHT, "IDC_CKBRIGHT"}, {IDC_CKCONTRA, "IDC_CKCONTRA"},
        {IDC_CKSATURA, "IDC_CKSATURA"}, {IDC_CKSHARPN, "IDC_CKSHARPN"},
        {IDC_CKBACKCO, "IDC_CKBACKCO"}, {IDC_CKGAIN, "IDC_CKGAIN"}};
    Strings expected;
    for (const auto& [id, name] : boxes) {
        ASSERT_TRUE(sim::Control(id)->enabled) << name;
        sim::Click(id);
        expected.push_back(std::string("Event: the checkbox ") + name + " is checked. (64, owned)");
    }
    EXPECT_EQ(Boxes(), expected);
    EXPECT_EQ(std::memcmp(&before, &CameraRecords[0], sizeof before), 0);
    EXPECT_TRUE(sim::Requests().empty());
    const std::string file = Ini();
    sim::SendToMain(platform::msg::Close, 0, 0); // unscripted: answered No
    expected.push_back("Event: Exit Saving Changes (36, owned)");
    EXPECT_EQ(Boxes(), expected);
    EXPECT_EQ(Ini(), file);
    EXPECT_EQ(sim::MainWindow(), nullptr);
}

TEST_F(PanelScenarioTest, YesSavesTheChangesAndCloseWithoutChangesAsksNothing) {
    StartWithCamera();
    sim::MoveSlider(IDC_TBGAIN, 42);
    sim::TheDesktop().boxAnswers.push_back(platform::mb::AnswerYes);
    sim::Click(IDC_BTEXIT);
    EXPECT_NE(Ini().find("Gain=42\r\n"), std::string::npos);
    EXPECT_FALSE(SettingsChanged);
    Restart();
    StartWithCamera();
    sim::Click(IDC_BTEXIT);
    EXPECT_TRUE(sim::TheDesktop().boxes.empty());
    EXPECT_EQ(sim::MainWindow(), nullptr);
}

TEST_F(PanelScenarioTest, MinimiseRuleTurnsTheCloseBoxIntoMinimiseButNotExit) {
    SimTest::StartWithCamera("[General]\r\nUseMinMaxOnPrintKey=1\r\n");
    sim::SendToMain(platform::msg::Close, 0, 0);
    ASSERT_NE(sim::MainWindow(), nullptr);
    EXPECT_TRUE(sim::MainWindow()->minimized);
    sim::Click(IDC_BTEXIT);
    EXPECT_EQ(sim::MainWindow(), nullptr);
}

TEST_F(PanelScenarioTest, WhiteBalanceAndFocusCheckBoxesWriteAutomaticAndManual) {
    StartWithCamera();
    CameraRecords[0].WhiteBalance = 5100;
    CameraRecords[0].FocusValue = 77;
    sim::Control(IDC_CKWHIBAL)->check = 0;
    sim::Control(IDC_CKFOCUS)->check = 0;
    sim::Click(IDC_CKWHIBAL);
    sim::Click(IDC_CKWHIBAL);
    sim::Click(IDC_CKFOCUS);
    sim::Click(IDC_CKFOCUS);
    EXPECT_EQ(TakeRequests(), (Strings{"procamp set 7 4000 1", "procamp set 7 5100 2",
                                       "control set 6 128 1", "control set 6 77 2"}));
    EXPECT_FALSE(CameraRecords[0].FlagWhiteBalance);
    EXPECT_FALSE(CameraRecords[0].FlagFocusValue);
    EXPECT_TRUE(sim::TheDesktop().boxes.empty());
}

// Each radio button on its own, after a start that left nothing changed: the camera request, the
// record's code, and the settings marked changed by that click alone.
TEST_F(PanelScenarioTest, EachPowerLineAndLedRadioWritesTheCameraAndTheRecord) {
    struct Case {
        int id;
        const char* request;
        int32_t CameraSettings::*field;
        int32_t code;
    };
    const Case cases[] = {
        {IDC_RBPWROFF, "procamp set 13 0 2", &CameraSettings::PowerScheme, 0},
        {IDC_RB50HZ, "procamp set 13 1 2", &CameraSettings::PowerScheme, 1},
        {IDC_RB60HZ, "procamp set 13 2 2", &CameraSettings::PowerScheme, 2},
        {IDC_RBLEDOFF, "vendor set 7 0 0 0 0 0", &CameraSettings::LEDInfo, 0},
        {IDC_RBLEDON, "vendor set 7 0 0 0 1 0", &CameraSettings::LEDInfo, 1},
        {IDC_RBLEDAUT, "vendor set 7 0 0 0 3 0", &CameraSettings::LEDInfo, 2},
    };
    for (const Case& c : cases) {
        Restart();
        StartWithCamera();
        ASSERT_FALSE(SettingsChanged);
        CameraRecords[0].*c.field = -1;
        sim::Control(c.id)->check = 0;
        sim::Click(c.id);
        EXPECT_EQ(TakeRequests(), Strings{c.request}) << c.id;
        EXPECT_EQ(CameraRecords[0].*c.field, c.code) << c.id;
        EXPECT_TRUE(SettingsChanged) << c.id;
    }
}

// The panel shows each stored LED code on its own radio button, and only there.
TEST_F(PanelScenarioTest, TheRefreshShowsEachLedCodeOnItsButton) {
    StartWithCamera();
    const int32_t codes[] = {kLedCodeOff, kLedCodeOn, kLedCodeAutomaticRead};
    const int buttons[] = {IDC_RBLEDOFF, IDC_RBLEDON, IDC_RBLEDAUT};
    for (int32_t code : codes) {
        CameraRecords[0].LEDInfo = code;
        ShowCameraSettings();
        std::string shown;
        for (int id : buttons)
            shown += std::to_string(sim::Control(id)->check);
        const std::string expected = code == kLedCodeOff  ? "100"
                                     : code == kLedCodeOn ? "010"
                                                          : "001";
        EXPECT_EQ(shown, expected) << "code " << code;
    }
}

// The exposure box: automatic sends the vendor exposure in automatic mode before the mode; manual
// the mode first, then the vendor exposure with the record's time.
TEST_F(PanelScenarioTest, TheExposureBoxSendsTheVendorExposureEachWay) {
    StartWithCamera();
    CameraRecords[0].ExposureTime = 250;
    sim::Control(IDC_CKEXPTIM)->check = 0;
    sim::Click(IDC_CKEXPTIM);
    const Strings automatic = TakeRequests();
    ASSERT_FALSE(automatic.empty());
    EXPECT_EQ(automatic.front(), "vendor set 5 1 0 0 250");
    sim::Click(IDC_CKEXPTIM);
    const Strings manual = TakeRequests();
    ASSERT_FALSE(manual.empty());
    EXPECT_EQ(manual.back(), "vendor set 5 2 0 0 250");
    EXPECT_TRUE(SettingsChanged);
}

// The camera mode's radio buttons: the exposure mode first, then the whole record applied in that
// mode (the very requests of an apply made next); "Auto" first shows the camera's ranges again.
TEST_F(PanelScenarioTest, EachCameraModeWritesItsExposureModeThenAppliesTheRecord) {
    StartWithCamera();
    const struct {
        int radio;
        Strings before; // the requests before the apply's
    } modes[] = {
        {IDC_RBMODMAN,
         {"control range 4", "control set 4 -6 2", "vendor set 5 2 0 0 333", "control set 19 0 2"}},
        {IDC_RBMODAUT,
         {"control range 4", "control set 4 -6 1", "control set 19 1 1", "procamp range 0",
          "procamp range 1", "procamp range 3", "procamp range 4", "procamp range 7",
          "procamp range 8", "procamp range 9", "vendor get 5", "control range 6"}},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.radio);
        sim::Click(mode.radio);
        const Strings chosen = TakeRequests();
        EXPECT_EQ(CameraRecords[0].FlagAutomatic, mode.radio == IDC_RBMODAUT);
        ApplyCameraSettings();
        Strings expected = mode.before;
        for (const std::string& request : TakeRequests())
            expected.push_back(request);
        EXPECT_EQ(chosen, expected);
        EXPECT_TRUE(SettingsChanged);
    }
}

TEST_F(PanelScenarioTest, ShowCameraSettingsLeavesButtonsForCodesItDoesNotShow) {
    StartWithCamera();
    sim::Control(IDC_RBLEDON)->check = 1;
    sim::Control(IDC_RBLEDAUT)->check = 0;
    CameraRecords[0].LEDInfo = 2;
    CameraRecords[0].PowerScheme = -1;
    sim::Control(IDC_RBPWROFF)->check = 1;
    sim::Control(IDC_RB50HZ)->check = 0;
    General.InternalDisplay = 5;
    ShowCameraSettings();
    EXPECT_EQ(sim::Control(IDC_RBLEDON)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBPWROFF)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBINTERN)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBEXTERN)->check, 0);
}

TEST_F(PanelScenarioTest, ResetDefaultValuesWithExposureModeOneAndTwo) {
    StartWithCamera();
    sim::Camera(0).vendor[5] = {1, 0, 0, 400};
    CameraRecords[0].FlagAutomatic = false;
    sim::Click(IDC_BTRESET);
    // Automatic exposure first, the record applied last (its focus write).
    Strings writes;
    for (const std::string& request : TakeRequests())
        if (request.find(" set ") != std::string::npos)
            writes.push_back(request);
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front(), "control set 4 -6 1");
    EXPECT_EQ(writes.back(), "control set 6 128 2");
    EXPECT_TRUE(sim::Control(IDC_CKEXPTIM)->enabled);
    EXPECT_EQ(sim::Control(IDC_CKEXPTIM)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBMODAUT)->check, 1);
    EXPECT_TRUE(CameraRecords[0].FlagAutomatic);
    EXPECT_EQ(CameraRecords[0].LEDInfo, 3); // stored 2, applied as automatic
    EXPECT_EQ(CameraRecords[0].Brightness, 128);
    EXPECT_FALSE(SettingsChanged);

    // Mode word 2 (bit 0 clear): the box is disabled, "Manual" checked, the camera mode kept.
    sim::Camera(0).vendor[5] = {2, 0, 0, 400};
    CameraRecords[0].FlagAutomatic = false;
    LoadDefaultSettings(0);
    EXPECT_FALSE(sim::Control(IDC_CKEXPTIM)->enabled);
    EXPECT_EQ(sim::Control(IDC_CKEXPTIM)->check, 0);
    EXPECT_EQ(sim::Control(IDC_RBMODMAN)->check, 1);
    EXPECT_EQ(sim::Control(IDC_RBMODAUT)->check, 0);
    EXPECT_FALSE(CameraRecords[0].FlagAutomatic);
    EXPECT_FALSE(CameraRecords[0].FlagExposureTime);
}

TEST_F(PanelScenarioTest, ARejectedRangeQueryKeepsTheSliderAndTurnsItsBoxOff) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex");
    sim::AddCamera(c);
    sim::Reject(0, sim::Interface::ProcAmp, sim::Direction::Range, 1);
    WriteIni("[General]\r\n");
    ASSERT_EQ(Start(), sim::kLoopIdle);
    EXPECT_EQ(sim::Control(IDC_TBCONTRA)->trackbarMax, 255); // the start-up range stays
    EXPECT_FALSE(sim::Control(IDC_CKCONTRA)->enabled);
    EXPECT_TRUE(sim::Control(IDC_CKBRIGHT)->enabled);
    EXPECT_FALSE(sim::Control(IDC_CKZOOM)->enabled);
}

class RescanTest : public PanelScenarioTest {
  protected:
    std::vector<sim::TextSet> ProgressTexts() {
        std::vector<sim::TextSet> progress;
        for (const sim::TextSet& t : sim::TheDesktop().texts)
            if (t.id == IDC_SBSTATUS && t.text.find("finished") != std::string::npos)
                progress.push_back(t);
        return progress;
    }
};

// The rescan counts from 0 to 100 % in steps of 30 ms after an arrival and 10 ms after a removal.
// What the panel shows after it (camera one selected, its button alone checked): UsbChurnTest's.
TEST_F(RescanTest, TheProgressCountsToAHundredInStepsOfTheNoticesWait) {
    for (const bool arrival : {true, false}) {
        SCOPED_TRACE(arrival ? "arrival" : "removal");
        Restart();
        AddVendorCamera(u"Parvanex A");
        AddVendorCamera(u"Parvanex B");
        ASSERT_EQ(Start(), sim::kLoopIdle);
        if (arrival)
            AddVendorCamera(u"Parvanex C");
        else
            sim::Camera(1).inVideoInput = false;
        sim::TheDesktop().texts.clear();
        sim::SendToMain(
            platform::msg::DeviceChange,
            arrival ? platform::dbt::DeviceArrival : platform::dbt::DeviceRemoveComplete, 0);
        const auto progress = ProgressTexts();
        ASSERT_EQ(progress.size(), 101u);
        EXPECT_EQ(progress[0].text, "Please Wait while scanning Cameras: 0 % finished");
        EXPECT_EQ(progress[100].text, "Please Wait while scanning Cameras: 100 % finished");
        EXPECT_EQ(progress[1].at - progress[0].at, arrival ? 30u : 10u);
        EXPECT_EQ(Status(), arrival ? "Camera 3: Parvanex C" : "Camera 1: Parvanex A");
    }
}

TEST_F(RescanTest, SelectingCameraTwoLabelsTheStatusAndLeavesTheSliders) {
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    ASSERT_EQ(Start(), sim::kLoopIdle);
    sim::MoveSlider(IDC_TBGAIN, 99);
    sim::Requests().clear();
    sim::Click(IDC_RBCAM2);
    EXPECT_EQ(Status(), "Camera 2: Parvanex B");
    EXPECT_EQ(Shell.selectedCamera, 1);
    EXPECT_EQ(sim::Control(IDC_TBGAIN)->trackbarPos, 99);
    EXPECT_EQ(sim::Control(IDC_RBCAM1)->check, 0);
    EXPECT_TRUE(sim::Requests().empty()); // nothing applied or read for camera 2
}

} // namespace
