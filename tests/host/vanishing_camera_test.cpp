// The selected camera vanishes at the worst moments: while its preview runs, while "Capture Image"
// waits for the first frame, during the review time of a Print-key capture, and between a slider
// move and its write. The tool must not crash or wait longer than its own waits, must write no
// image that is not a whole frame, must exit with 0, and must preview the camera anew when it
// comes back.
#include "bitmap_checks.h"
#include "fixture.h"
#include "object_counts.h"

#include "platform/constants.h"
#include "platform/sim/sim_graph.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using platform::msg::KeyUp;

constexpr const char* kImagePrefix = "C:\\p\\img";
constexpr const char* kNoCamera = "No Parvanex Camera detected, please attach a Parvanex Webcam";

class VanishingCameraTest : public SimTest {
  protected:
    void StartWith(const std::string& options) {
        camera = AddVendorCamera(u"Parvanex Vanishing");
        WriteIni(std::string("[General]\r\nImageSavePath=") + kImagePrefix +
                 ".bmp\r\nIncrementImageName=1\r\nReviewTimeMs=500\r\n" + options);
        ASSERT_EQ(Start(), sim::kLoopIdle);
    }

    static std::vector<std::string> Images() { return FilesUnder(kImagePrefix); }

    // Exactly that many images, each one whole frame.
    ::testing::AssertionResult WholeFrames(size_t count) {
        const std::vector<std::string> images = Images();
        if (images.size() != count)
            return ::testing::AssertionFailure() << images.size() << " images, expected " << count;
        for (const std::string& image : images)
            if (::testing::AssertionResult whole = IsTestFrameBitmap(image); !whole)
                return whole;
        return ::testing::AssertionSuccess();
    }

    // The removal notice, as Windows sends it after the device went.
    void RemovalNotice() {
        sim::SendToMain(platform::msg::DeviceChange, platform::dbt::DeviceRemoveComplete, 0);
        EXPECT_EQ(Status(), kNoCamera);
        EXPECT_EQ(Shell.selectedCamera, -1);
        EXPECT_EQ(sim::Control(IDC_BTPREVW)->text, "Preview");
        EXPECT_EQ(Outstanding(), HeldByTheTool());
    }

    // The camera comes back; "Capture Image" must then take a new frame from it. Whatever the
    // grabber kept from before the camera went is spoilt first, so a capture of it shows.
    void ReplugAndCaptureAFreshFrame() {
        std::fill(sim::Graph().sample.begin(), sim::Graph().sample.end(), 0xEE);
        sim::Plug(camera);
        sim::SendToMain(platform::msg::DeviceChange, platform::dbt::DeviceArrival, 0);
        EXPECT_EQ(Status(), "Camera 1: Parvanex Vanishing");
        EXPECT_EQ(Shell.selectedCamera, 0);
        const size_t before = Images().size();
        sim::Click(IDC_BTCAPIMG);
        EXPECT_TRUE(WholeFrames(before + 1)) << "after the camera came back";
        EXPECT_EQ(PreviewState(), 2);
        EXPECT_EQ(sim::Control(IDC_BTPREVW)->text, "Stop");
        EXPECT_EQ(Outstanding(), HeldByTheTool());
    }

    void ExitAndExpectNothingLeft() {
        sim::TheDesktop().onSleep = nullptr;
        sim::TheDesktop().boxAnswers.push_back(platform::mb::AnswerNo);
        sim::Click(IDC_BTEXIT);
        EXPECT_EQ(sim::MainWindow(), nullptr);
        EXPECT_TRUE(sim::TheDesktop().quitPosted);
        EXPECT_EQ(sim::TheDesktop().quitCode, 0);
        EXPECT_EQ(Outstanding(), NothingOutstanding());
    }

    int camera = 0;
};

// (a) The camera goes while its preview runs; the operator presses "Capture Image" before the
// removal notice comes. The grabber keeps the last frame it got: a whole one may be written, the
// first part of one may not.
TEST_F(VanishingCameraTest, WhilePreviewRunsNoPartialImageAndAFreshPreviewAfterItReturns) {
    for (const bool midFrame : {false, true}) {
        SCOPED_TRACE(midFrame ? "frame cut short" : "whole frame kept");
        Restart();
        StartWith("");
        sim::Click(IDC_BTPREVW);
        ASSERT_EQ(PreviewState(), 2);
        sim::Unplug(camera, midFrame);

        const uint64_t pressed = sim::TheDesktop().now;
        sim::Click(IDC_BTCAPIMG);
        EXPECT_EQ(sim::TheDesktop().now - pressed, 0u) << "the frame was there: no wait";
        EXPECT_TRUE(WholeFrames(midFrame ? 0 : 1));

        RemovalNotice();
        EXPECT_EQ(PreviewGraph.Control, nullptr) << "a graph whose camera went is kept";
        EXPECT_TRUE(sim::Control(IDC_TBBRIGHT)->visible);
        ReplugAndCaptureAFreshFrame();
        ExitAndExpectNothingLeft();
    }
}

// The graph's EC_DEVICE_LOST and the failing capability count each tell of the camera that went;
// with neither, the graph cannot know and is kept.
TEST_F(VanishingCameraTest, EitherLostSignalReleasesTheGraph) {
    const struct {
        const char* name;
        bool sendsDeviceLost, capsCountAfterUnplug, released;
    } cases[] = {{"event only", true, true, true},
                 {"count only", false, false, true},
                 {"neither", false, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        StartWith("");
        sim::Camera(camera).sendsDeviceLost = c.sendsDeviceLost;
        sim::Camera(camera).capsCountAfterUnplug = c.capsCountAfterUnplug;
        sim::Click(IDC_BTPREVW);
        ASSERT_EQ(PreviewState(), 2);
        sim::Unplug(camera);
        sim::SendToMain(platform::msg::DeviceChange, platform::dbt::DeviceRemoveComplete, 0);
        EXPECT_EQ(PreviewGraph.Control == nullptr, c.released);
        EXPECT_EQ(Outstanding(), HeldByTheTool());
        if (c.released)
            ReplugAndCaptureAFreshFrame();
        ExitAndExpectNothingLeft();
    }
}

// (b) "Capture Image" starts the preview and waits for its first frame; the camera goes during
// that wait, at the 250 ms pause or while the first frame is awaited. No frame, no file, and the
// wait ends at the tool's own limits (250 ms and 1 s for the first frame).
TEST_F(VanishingCameraTest, WhileCaptureWaitsNoFileAndNoLongerWaitThanTheToolsOwn) {
    // The 1st sleep is the 250 ms pause, the later ones are 10 ms steps of the first-frame wait.
    for (const int goneAtSleep : {1, 2, 15}) {
        SCOPED_TRACE("gone at sleep " + std::to_string(goneAtSleep));
        Restart();
        StartWith("");
        sim::Graph().firstSampleAfterMs = 400; // a camera slow to start
        int sleeps = 0;
        sim::TheDesktop().onSleep = [&](uint32_t) {
            if (++sleeps == goneAtSleep)
                sim::Unplug(camera);
        };
        const uint64_t pressed = sim::TheDesktop().now;
        sim::Click(IDC_BTCAPIMG);
        ASSERT_GE(sleeps, goneAtSleep) << "the camera never went";
        EXPECT_LE(sim::TheDesktop().now - pressed, 250u + 1000u);
        EXPECT_TRUE(Images().empty());

        RemovalNotice();
        ReplugAndCaptureAFreshFrame();
        ExitAndExpectNothingLeft();
    }
}

// (c) The camera goes during the review time of a Print-key capture. The image taken before is
// whole; resuming the preview of the missing camera does no harm; the next Print key after the
// camera came back takes a fresh frame.
TEST_F(VanishingCameraTest, DuringTheReviewTimeOfAPrintKeyCapture) {
    StartWith("UsePrintKeyToCaptureImages=1\r\n");
    sim::Click(IDC_BTPREVW);
    sim::TheDesktop().onSleep = [&](uint32_t milliseconds) {
        if (milliseconds == 500)
            sim::Unplug(camera);
    };
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x80);
    const uint64_t released = sim::TheDesktop().now;
    sim::RunFor(200 + 500);
    EXPECT_FALSE(sim::Camera(camera).plugged) << "the review time never came";
    EXPECT_LE(sim::TheDesktop().now - released, 200u + 500u);
    EXPECT_TRUE(WholeFrames(1));
    sim::TheDesktop().onSleep = nullptr;

    RemovalNotice();
    std::fill(sim::Graph().sample.begin(), sim::Graph().sample.end(), 0xEE);
    sim::Plug(camera);
    sim::SendToMain(platform::msg::DeviceChange, platform::dbt::DeviceArrival, 0);
    sim::KeyEvent(KeyUp, platform::key::Snapshot, 0x80);
    sim::RunFor(200 + 250 + 500);
    EXPECT_TRUE(WholeFrames(2));
    EXPECT_EQ(Outstanding(), HeldByTheTool());
    ExitAndExpectNothingLeft();
}

// (d) The camera goes between a slider move and the write it causes. The handler does what it
// always does (status text, record); the write fails; after the camera came back the same slider
// reaches it.
TEST_F(VanishingCameraTest, BetweenSliderAndWriteTheWriteFailsQuietlyAndTheNextOneReaches) {
    const struct {
        int slider;
        int32_t position;
        sim::Interface interface;
        int32_t property;
        const char* status;
    } cases[] = {
        {IDC_TBBRIGHT, 200, sim::Interface::ProcAmp, 0, "Brightness Value: 200"},
        {IDC_TBZOOM, 150, sim::Interface::Vendor, 3, "Zoom Value: 150"},
        {IDC_TBEXPTIM, 400, sim::Interface::Vendor, 5, "Exposure Time Value: 0.0400 seconds"},
        {IDC_TBFOCUS, 90, sim::Interface::CameraControl, 6, "Focus Value: 90"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Restart();
        StartWith("");
        sim::BeforeRequest() = [&](int cam, sim::Interface interface, sim::Direction direction,
                                   int32_t property) {
            if (interface == c.interface && direction == sim::Direction::Set &&
                property == c.property)
                sim::Unplug(cam);
        };
        sim::Requests().clear();
        sim::MoveSlider(c.slider, c.position);
        sim::BeforeRequest() = nullptr;
        EXPECT_EQ(Status(), c.status);
        EXPECT_TRUE(SettingsChanged);
        std::vector<sim::Request> writes = sim::RequestsOf(c.interface, c.property);
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(writes.back().result, sim::kDeviceNotConnected);
        EXPECT_EQ(Outstanding(), HeldByTheTool());

        RemovalNotice();
        sim::Plug(camera);
        sim::SendToMain(platform::msg::DeviceChange, platform::dbt::DeviceArrival, 0);
        sim::Requests().clear();
        sim::MoveSlider(c.slider, c.position);
        writes = sim::RequestsOf(c.interface, c.property);
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(writes.back().direction, sim::Direction::Set);
        EXPECT_EQ(writes.back().result, platform::kOk);
        ReplugAndCaptureAFreshFrame(); // still plugged: only the capture part applies
        ExitAndExpectNothingLeft();
    }
}

} // namespace
