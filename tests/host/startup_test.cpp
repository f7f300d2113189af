// Start-up: the no-camera state, the camera selection buttons, the order of the steps, the
// failed registration and the exit code of the message loop. InitAndExit: CliApplySaveTest.
#include "fixture.h"

#include <algorithm>

namespace {

class StartupTest : public SimTest {
  protected:
    // Whether every call was made, the first time of each after the first time of the one before.
    // A call that was never made is a failure, never a call that came last.
    static ::testing::AssertionResult CalledInOrder(std::initializer_list<std::string> order) {
        const auto& calls = sim::TheDesktop().calls;
        auto previous = calls.end();
        for (const std::string& call : order) {
            const auto at = std::find(calls.begin(), calls.end(), call);
            if (at == calls.end())
                return ::testing::AssertionFailure() << "\"" << call << "\" was never called";
            if (previous != calls.end() && at <= previous)
                return ::testing::AssertionFailure()
                       << "\"" << call << "\" (call " << at - calls.begin() << ") came before \""
                       << *previous << "\" (call " << previous - calls.begin() << ")";
            previous = at;
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(StartupTest, NoCameraDisablesThePanelButExitStatusAndSelection) {
    ASSERT_EQ(Start(), sim::kLoopIdle);
    EXPECT_EQ(Status(), "No Parvanex Camera detected, please attach a Parvanex Webcam");
    ASSERT_EQ(sim::MainWindow()->children.size(), 66u);
    for (sim::WindowRecord* c : sim::MainWindow()->children) {
        const bool staysEnabled = c->id == IDC_BTEXIT || c->id == IDC_SBSTATUS ||
                                  (c->id >= IDC_RBCAM6 && c->id <= IDC_RBCAM1);
        EXPECT_EQ(c->enabled, staysEnabled) << c->id;
    }
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_FALSE(sim::Control(CameraButtonOf(slot))->visible);
    EXPECT_EQ(Shell.selectedCamera, -1);
    EXPECT_TRUE(sim::Requests().empty());
}

TEST_F(StartupTest, ThreeCamerasShowThreeLabelledButtonsAndSelectTheFirst) {
    AddVendorCamera(u"Parvanex A");
    AddVendorCamera(u"Parvanex B");
    AddVendorCamera(u"Parvanex C");
    ASSERT_EQ(Start(), sim::kLoopIdle);
    EXPECT_EQ(sim::Control(IDC_RBCAM1)->text, "Camera 1: Parvanex A");
    EXPECT_EQ(sim::Control(IDC_RBCAM3)->text, "Camera 3: Parvanex C");
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(sim::Control(CameraButtonOf(slot))->visible, slot < 3) << slot;
    EXPECT_EQ(sim::Control(IDC_RBCAM1)->check, 1);
    EXPECT_EQ(Shell.selectedCamera, 0);
    EXPECT_EQ(Status(), "Camera 1: Parvanex A");
    const auto statusTexts = sim::TextsOf(IDC_SBSTATUS);
    ASSERT_FALSE(statusTexts.empty());
    EXPECT_EQ(statusTexts.front(), "Camera 1: Parvanex A");
}

TEST_F(StartupTest, AFirstStartShowsTheValuesItReadFromTheCamera) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex First");
    c.procAmp[0].value = 77;
    AddCamera(c);
    ASSERT_EQ(Start(), sim::kLoopIdle);
    const sim::WindowRecord* brightness = sim::Control(IDC_TBBRIGHT);
    EXPECT_EQ(brightness->trackbarMin, 0);
    EXPECT_EQ(brightness->trackbarMax, 255);
    EXPECT_EQ(brightness->trackbarPos, 77);
    const sim::WindowRecord* whiteBalance = sim::Control(IDC_TBWHIBAL);
    EXPECT_EQ(whiteBalance->trackbarMin, 0); // the white balance keeps its fixed range
    EXPECT_EQ(whiteBalance->trackbarMax, 10000);
    EXPECT_EQ(whiteBalance->trackbarPos, 4000);
    EXPECT_EQ(sim::Control(IDC_CKWHIBAL)->check, 1);
    EXPECT_EQ(sim::Control(IDC_TBEXPTIM)->trackbarPos, 333);
    EXPECT_EQ(sim::Control(IDC_RBMODAUT)->check, 1);
}

TEST_F(StartupTest, StepsRunInOrderAndTheLoopReturnsTheQuitCode) {
    AddVendorCamera();
    sim::TheDesktop().onIdle = [] {
        sim::Post(platform::Window(sim::HandleOf(sim::MainWindow())), 0x0010 /* WM_CLOSE */, 0, 0);
        sim::TheDesktop().onIdle = nullptr;
        return true;
    };
    EXPECT_EQ(Start(), 0);
    EXPECT_FALSE(exitedEarly);
    EXPECT_TRUE(CalledInOrder(
        {"RegisterWindowClass my_wnd_class_name_0", "CreateControlFont Times New Roman -13 400"}));
    EXPECT_TRUE(CalledInOrder({"SetClassIcons 101", "RegisterUsbDeviceNotices", "MessageLoop",
                               "DestroyWindow", "DeleteControlFont"}));
    EXPECT_EQ(sim::TheDesktop().fontsAlive, 0);
    EXPECT_TRUE(sim::MainWindow() == nullptr);
}

TEST_F(StartupTest, AFailedRegistrationSkipsLoadingApplyingTimersAndHook) {
    AddVendorCamera();
    sim::TheDesktop().failDeviceRegistration = true;
    WriteIni("[General]\r\nStartWithPreview=1\r\nUsePrintKeyToCaptureImages=1\r\n");
    const std::string before = Ini();
    EXPECT_EQ(Start(), sim::kLoopIdle);
    EXPECT_EQ(Ini(), before);
    EXPECT_TRUE(sim::Requests().empty());
    EXPECT_EQ(DesktopCalls("SetTimer 253 100"), 0);
    EXPECT_EQ(DesktopCalls("InstallKeyboardHook"), 0);
    // The window still works: its controls answer and the close box closes it.
    sim::SendToMain(0x0010, 0, 0);
    EXPECT_EQ(sim::MainWindow(), nullptr);
}

TEST_F(StartupTest, StartWithPreviewArmsThePreviewTimerAndTheHookIsInstalled) {
    StartWithCamera("[General]\r\nStartWithPreview=1\r\nUsePrintKeyToCaptureImages=1\r\n");
    EXPECT_TRUE(CalledInOrder({"SetTimer 253 100", "InstallKeyboardHook", "MessageLoop"}));
    EXPECT_EQ(DesktopCalls("KillTimer 253"), 1);
}

TEST_F(StartupTest, AFailedHookInstallShowsItsBoxAndStartUpGoesOn) {
    sim::TheDesktop().failHookInstall = true;
    StartWithCamera("[General]\r\nUsePrintKeyToCaptureImages=1\r\n");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error!: Unable to install hook (0, no owner)"});
}

} // namespace
