// The Print-key hook and the capture sequence with its options.
#include "fixture.h"

#include "platform/constants.h"
#include "platform/sim/sim_graph.h"

#include <algorithm>

namespace {

using platform::msg::KeyDown;
using platform::msg::KeyUp;
using platform::msg::SysKeyUp;

class PrintKeyTest : public SimTest {
  protected:
    void StartWith(const std::string& options) {
        AddVendorCamera();
        WriteIni("[General]\r\nImageSavePath=C:\\p\\img.bmp\r\nIncrementImageName=1\r\n"
                 "UsePrintKeyToCaptureImages=1\r\nReviewTimeMs=500\r\n" +
                 options);
        ASSERT_EQ(Start(), sim::kLoopIdle);
    }
    int Images() {
        int images = 0;
        for (const auto& [path, bytes] : sim::Files().files)
            images += path.rfind("C:\\p\\img", 0) == 0 ? 1 : 0;
        return images;
    }
};

TEST_F(PrintKeyTest, AReleaseTakesOneImageAfterBothTimersAndTheEventIsPassedOn) {
    StartWith("");
    sim::KeyEvent(KeyDown, platform::key::Snapshot, 0x01);
    sim::RunFor(500);
    EXPECT_EQ(Images(), 0); // holding the key does nothing
    const uint64_t released = sim::TheDesktop().now;
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81);
    sim::RunFor(150);
    EXPECT_EQ(Images(), 0);
    sim::RunFor(1000);
    EXPECT_EQ(Images(), 1);
    EXPECT_EQ(sim::TheDesktop().passedKeyEvents.size(), 2u);
    // 100 ms, 100 ms, the 250 ms start of the preview, and the review time of 500 ms.
    EXPECT_GE(sim::TheDesktop().now - released, 950u);
    EXPECT_EQ(sim::Graph().state, 2); // resumed after the review time
}

TEST_F(PrintKeyTest, AltPrintInjectedEventsAndOtherKeysDoNothingAndTwoQuickReleasesOneImage) {
    StartWith("");
    sim::KeyEvent(SysKeyUp, platform::key::Snapshot, 0x81);
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81 | platform::key::InjectedFlag);
    sim::KeyEvent(KeyUp, 0x41, 0x80);
    sim::RunFor(2000);
    EXPECT_EQ(Images(), 0);
    EXPECT_EQ(sim::TheDesktop().passedKeyEvents.size(), 3u);
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81);
    sim::RunFor(50);
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81);
    sim::RunFor(3000);
    EXPECT_EQ(Images(), 1);
}

TEST_F(PrintKeyTest, WithoutTheOptionNoHookExists) {
    AddVendorCamera();
    ASSERT_EQ(Start(), sim::kLoopIdle);
    EXPECT_EQ(sim::TheDesktop().hook, nullptr);
}

TEST_F(PrintKeyTest, HideAppWhenInactiveShowsTakesHoldsAndHidesAgain) {
    StartWith("HideAppWhenInactive=1\r\n");
    sim::MainWindow()->visible = false;
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81);
    sim::RunFor(3000);
    EXPECT_EQ(Images(), 1);
    EXPECT_FALSE(sim::MainWindow()->visible);
    EXPECT_EQ(sim::Graph().state, 0); // the preview stays stopped
    const auto& calls = sim::TheDesktop().calls;
    const auto restore = std::find(calls.begin(), calls.end(), "ShowWindow 9");
    EXPECT_NE(restore, calls.end());
    EXPECT_NE(std::find(restore, calls.end(), "ShowWindow 0"), calls.end());
}

TEST_F(PrintKeyTest, UseMinMaxRestoresThenMinimisesAfterTheImage) {
    StartWith("UseMinMaxOnPrintKey=1\r\n");
    sim::MainWindow()->minimized = true;
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81);
    sim::RunFor(3000);
    EXPECT_EQ(Images(), 1);
    EXPECT_TRUE(sim::MainWindow()->minimized);
    EXPECT_EQ(sim::Graph().state, 2);
}

TEST_F(PrintKeyTest, ExitOnCaptureLosesUnsavedChangesWithoutAQuestion) {
    StartWith("ExitOnCapture=1\r\n");
    sim::MoveSlider(IDC_TBGAIN, 77);
    const std::string before = Ini();
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81);
    sim::RunFor(3000);
    EXPECT_EQ(Images(), 1);
    EXPECT_EQ(sim::MainWindow(), nullptr);
    EXPECT_TRUE(sim::TheDesktop().boxes.empty());
    EXPECT_EQ(sim::TheDesktop().hook, nullptr); // removed
    EXPECT_EQ(Ini().find("Gain=77"), std::string::npos);
    EXPECT_TRUE(sim::TheDesktop().quitPosted);
}

} // namespace
