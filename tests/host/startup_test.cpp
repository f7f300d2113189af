// Start-up: the no-camera state, the camera selection buttons, the order of the steps, the
// failed registration, InitAndExit and the exit code of the message loop.
#include "fixture.h"

#include <algorithm>

namespace {

class StartupTest : public SimTest {
  protected:
    static size_t IndexOfCall(const std::string& call) {
        const auto& calls = sim::TheDesktop().calls;
        return static_cast<size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
    }
};

TEST_F(StartupTest, NoCameraDisablesThePanelButExitStatusAndSelection) {
    EXPECT_EQ(Start(), sim::kLoopIdle);
    EXPECT_EQ(sim::Control(IDC_SBSTATUS)->text,
              "No Parvanex Camera detected, please attach a Parvanex Webcam");
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
    Start();
    EXPECT_EQ(sim::Control(IDC_RBCAM1)->text, "Camera 1: Parvanex A");
    EXPECT_EQ(sim::Control(IDC_RBCAM3)->text, "Camera 3: Parvanex C");
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(sim::Control(CameraButtonOf(slot))->visible, slot < 3) << slot;
    EXPECT_EQ(sim::Control(IDC_RBCAM1)->check, 1);
    EXPECT_EQ(Shell.selectedCamera, 0);
    EXPECT_EQ(sim::Control(IDC_SBSTATUS)->text, "Camera 1: Parvanex A");
    EXPECT_EQ(sim::TextsOf(IDC_SBSTATUS).front(), "Camera 1: Parvanex A");
}

TEST_F(StartupTest, AFirstStartShowsTheValuesItReadFromTheCamera) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex First");
    c.procAmp[0].value = 77;
    AddCamera(c);
    Start();
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
    EXPECT_LT(IndexOfCall("RegisterWindowClass my_wnd_class_name_0"),
              IndexOfCall("CreateControlFont Times New Roman -13 400"));
    EXPECT_LT(IndexOfCall("SetClassIcons 101"), IndexOfCall("RegisterUsbDeviceNotices"));
    EXPECT_LT(IndexOfCall("RegisterUsbDeviceNotices"), IndexOfCall("MessageLoop"));
    EXPECT_LT(IndexOfCall("MessageLoop"), IndexOfCall("DestroyWindow"));
    EXPECT_LT(IndexOfCall("DestroyWindow"), IndexOfCall("DeleteControlFont"));
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
    EXPECT_EQ(IndexOfCall("SetTimer 253 100"), sim::TheDesktop().calls.size());
    EXPECT_EQ(IndexOfCall("InstallKeyboardHook"), sim::TheDesktop().calls.size());
    // The window still works: its controls answer and the close box closes it.
    sim::SendToMain(0x0010, 0, 0);
    EXPECT_EQ(sim::MainWindow(), nullptr);
}

TEST_F(StartupTest, InitAndExitAppliesAndEndsBeforeAnyTimerOrHook) {
    AddVendorCamera();
    Start(); // first start: the file
    const std::string file = Ini();
    SetUp();
    AddVendorCamera();
    std::string options = file;
    auto set = [&](const std::string& from, const std::string& to) {
        options.replace(options.find(from), from.size(), to);
    };
    set("StartWithPreview=0", "StartWithPreview=1");
    set("UsePrintKeyToCaptureImages=0", "UsePrintKeyToCaptureImages=1");
    set("ReviewTimeMs=1500\r\n", "ReviewTimeMs=1500\r\nInitAndExit=1\r\n");
    WriteIni(options);
    EXPECT_EQ(Start(), 0);
    EXPECT_TRUE(exitedEarly);
    ASSERT_FALSE(sim::Requests().empty());
    const sim::Request& last = sim::Requests().back();
    EXPECT_EQ(last.interface, sim::Interface::CameraControl);
    EXPECT_EQ(last.property, 6); // the focus write is the last before the exit
    EXPECT_EQ(IndexOfCall("SetTimer 253 100"), sim::TheDesktop().calls.size());
    EXPECT_EQ(IndexOfCall("InstallKeyboardHook"), sim::TheDesktop().calls.size());
}

TEST_F(StartupTest, StartWithPreviewArmsThePreviewTimerAndTheHookIsInstalled) {
    AddVendorCamera();
    WriteIni("[General]\r\nStartWithPreview=1\r\nUsePrintKeyToCaptureImages=1\r\n");
    Start();
    EXPECT_LT(IndexOfCall("SetTimer 253 100"), IndexOfCall("InstallKeyboardHook"));
    EXPECT_LT(IndexOfCall("InstallKeyboardHook"), IndexOfCall("MessageLoop"));
    EXPECT_LT(IndexOfCall("KillTimer 253"), sim::TheDesktop().calls.size());
}

TEST_F(StartupTest, AFailedHookInstallShowsItsBoxAndStartUpGoesOn) {
    AddVendorCamera();
    sim::TheDesktop().failHookInstall = true;
    WriteIni("[General]\r\nUsePrintKeyToCaptureImages=1\r\n");
    EXPECT_EQ(Start(), sim::kLoopIdle);
    ASSERT_EQ(sim::TheDesktop().boxes.size(), 1u);
    EXPECT_EQ(sim::TheDesktop().boxes[0].text, "Unable to install hook");
    EXPECT_EQ(sim::TheDesktop().boxes[0].caption, "Error!");
    EXPECT_EQ(sim::TheDesktop().boxes[0].owner, nullptr);
}

} // namespace
