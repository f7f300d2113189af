// The Print-key hook and the capture sequence with its options.
#include "fixture.h"

#include "platform/constants.h"
#include "platform/sim/sim_graph.h"

#include <algorithm>

namespace {

using platform::msg::KeyDown;
using platform::msg::KeyUp;
using platform::msg::SysKeyUp;

void ReleasePrint() {
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x81);
}

class PrintKeyTest : public SimTest {
  protected:
    void StartWith(const std::string& options, int reviewTimeMs = 500) {
        StartWithCamera("[General]\r\nImageSavePath=C:\\p\\img.bmp\r\nIncrementImageName=1\r\n"
                        "UsePrintKeyToCaptureImages=1\r\nReviewTimeMs=" +
                        std::to_string(reviewTimeMs) + "\r\n" + options);
    }
    static int Images() { return static_cast<int>(FilesUnder("C:\\p\\img").size()); }
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
    StartWithCamera();
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

TEST_F(PrintKeyTest, ReleasesDuringTheReviewTimeGiveOnePictureAfterItOrNoneWhenTheToolCloses) {
    // A release posted while the tool waits is handled after the wait; several restart the one
    // timer. With ExitOnCapture the tool closes at the end of the wait and the release goes with
    // the window.
    const struct {
        const char* options;
        int releasesInTheWait;
        int images;
        bool closes;
    } cases[] = {
        {"", 1, 2, false},
        {"", 2, 2, false},
        {"ExitOnCapture=1\r\n", 1, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.options) + std::to_string(c.releasesInTheWait) + " release(s)");
        Restart();
        StartWith(c.options, 1500);
        int reviews = 0;
        sim::TheDesktop().onSleep = [&](uint32_t milliseconds) {
            if (milliseconds == 1500 && reviews++ == 0)
                for (int i = 0; i < c.releasesInTheWait; ++i)
                    ReleasePrint();
        };
        ReleasePrint();
        sim::RunFor(10000);
        sim::TheDesktop().onSleep = nullptr;
        EXPECT_EQ(Images(), c.images);
        EXPECT_EQ(reviews, c.images);
        EXPECT_EQ(sim::MainWindow() == nullptr, c.closes);
        const auto& calls = sim::TheDesktop().calls;
        if (c.closes) // the hook's thread is gone before the window: nothing is posted after
            EXPECT_LT(std::find(calls.begin(), calls.end(), "RemoveKeyboardHook"),
                      std::find(calls.begin(), calls.end(), "DestroyWindow"));
    }
}

// Windows removes a low-level hook that does not answer within a second, and every key of the
// desktop waits for the answer until then. A key typed anywhere while the tool is in one of its
// waits must find the hook answering at once, and the Print key must still work after. Put back
// on the tool's own thread, the same hook is stalled and (past a second) removed: the desktop
// keeps that rule in force.
struct WaitCase {
    const char* name;
    uint32_t stepMs; // the tool's sleep (or a step of it) during which the key is typed
    void (*begin)(); // makes the tool wait
    uint64_t stallOnTheToolsThreadMs; // 1000: the hook timed out and was removed
};

void PostToMain(uintptr_t notice) {
    sim::Post(sim::HandleOf(sim::MainWindow()), platform::msg::DeviceChange, notice, 0);
}

const WaitCase kWaits[] = {
    {"ReviewTime", 1500, ReleasePrint, 1000},
    {"Identify", 650, [] { sim::Click(IDC_BTIDENT); }, 650},
    {"RescanAfterRemoval", 10, [] { PostToMain(platform::dbt::DeviceRemoveComplete); }, 1000},
    {"RescanAfterArrival", 30, [] { PostToMain(platform::dbt::DeviceArrival); }, 1000},
    {"GraphState", 2500,
     [] {
         sim::Graph().stateSettlesAfterMs = 2500;
         sim::Click(IDC_BTPREVW);
     },
     1000},
};

TEST_F(PrintKeyTest, AKeyDuringAWaitIsAnsweredAtOnceAndThePrintKeyStillWorks) {
    for (const WaitCase& c : kWaits) {
        for (const bool onTheToolsThread : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (onTheToolsThread ? " on the tool's thread" : ""));
            Restart();
            StartWith("", 1500); // the default review time
            ASSERT_EQ(sim::TheDesktop().hookThread, sim::Desktop::HookThread::Own);
            if (onTheToolsThread)
                sim::TheDesktop().hookThread = sim::Desktop::HookThread::Tool;
            const uint64_t stall = onTheToolsThread ? c.stallOnTheToolsThreadMs : 0;
            const bool removed = stall >= sim::TheDesktop().lowLevelHooksTimeoutMs;
            bool typed = false;
            sim::TheDesktop().onSleep = [&](uint32_t milliseconds) {
                if (milliseconds == c.stepMs && !typed) {
                    typed = true;
                    sim::KeyEvent(KeyDown, 0x41, 0);
                }
            };
            c.begin();
            sim::RunFor(5000);
            sim::TheDesktop().onSleep = nullptr;
            sim::Graph().stateSettlesAfterMs = 0;
            ASSERT_TRUE(typed) << "the tool never waited";

            const sim::Desktop& d = sim::TheDesktop();
            EXPECT_EQ(d.hookRemovedSilently, removed)
                << "removed by the system at " << d.hookRemovedAt;
            const auto typedKey =
                std::find_if(d.keyDeliveries.begin(), d.keyDeliveries.end(),
                             [](const auto& k) { return k.event.virtualKey == 0x41; });
            ASSERT_NE(typedKey, d.keyDeliveries.end());
            EXPECT_EQ(typedKey->stalledMs, stall) << "how long the desktop's keys waited";
            EXPECT_EQ(typedKey->hookCalled, !removed);
            EXPECT_EQ(d.passedKeyEvents.back().virtualKey, 0x41u); // passed on in either case
            const int before = Images();
            ReleasePrint();
            sim::RunFor(5000);
            EXPECT_EQ(Images(), before + (removed ? 0 : 1)) << "the Print key after the wait";
        }
    }
}

} // namespace
