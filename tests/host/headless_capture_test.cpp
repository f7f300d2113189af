// The still without a window: the graph the camera gets (camera -> grabber -> null renderer) and
// the format asked of it, the file written, the outcomes without a frame, without a file, without
// a camera and with the camera claimed, every reference given back in each of them; and the claim
// that the window program holds on its camera while its preview graph exists.
#include "bitmap_checks.h"
#include "fixture.h"
#include "object_counts.h"

#include "camera/camera_claim.h"
#include "camera/headless_capture.h"
#include "platform/constants.h"
#include "platform/sim/sim_graph.h"

#include <cstring>
#include <set>
#include <vector>

namespace {

constexpr const char* kStill = "C:\\shots\\still.bmp";
constexpr platform::HResult kAccessDenied = static_cast<platform::HResult>(0x80070005u);
constexpr platform::HResult kDiskFull = static_cast<platform::HResult>(0x80070070u);

std::vector<std::string> Calls() {
    return sim::Graph().calls;
}

class HeadlessCaptureTest : public SimTest {
  protected:
    // Cameras attached and found, as the command-line program finds them before a capture.
    void Discover(const std::vector<std::u16string>& names = {u"Parvanex Cam 1"}) {
        for (const std::u16string& name : names)
            AddVendorCamera(name);
        ASSERT_EQ(DiscoverCameras(), static_cast<int>(names.size()));
        sim::Graph().calls.clear();
        countsBefore = Outstanding();
        claimsBefore = sim::ClaimsHeldByTheTool();
    }

    static HeadlessCapture Capture(int slot = 0, int32_t width = 1280, int32_t height = 720,
                                   uint32_t timeoutMs = 3000) {
        return CaptureWithoutWindow(slot, width, height, timeoutMs, kStill);
    }

    // Nothing the capture made is left: the counts are those of the discovery alone (no graph,
    // task block or media type), the window program's fields hold what the discovery bound and
    // no graph part, and no claim was taken or given back.
    void ExpectNothingLeft(const std::string& what) {
        EXPECT_EQ(Outstanding(), countsBefore) << what;
        EXPECT_EQ(Outstanding(), HeldByTheTool()) << what;
        EXPECT_EQ(sim::ClaimsHeldByTheTool(), claimsBefore) << what;
    }

    ObjectCounts countsBefore;
    std::vector<std::string> claimsBefore;
};

TEST_F(HeadlessCaptureTest, TheCameraGetsItsFormatAndAGraphEndingInANullRenderer) {
    Discover();
    platform::Filter discovered = CaptureFilters[0];
    const HeadlessCapture captured = Capture(0, 1280, 720);
    EXPECT_EQ(captured.outcome, HeadlessOutcome::Written);
    EXPECT_EQ(captured.result, platform::kOk);

    // The preview's steps without its video window, a null renderer in place of its renderer.
    const std::vector<std::string> expected = {"CreateFilterGraph",
                                               "QueryFilterGraph",
                                               "QueryGraphBuilder",
                                               "CreateCaptureBuilder",
                                               "AddFilter Parvanex Camera",
                                               "AddFilter Sample Grabber",
                                               "QuerySampleGrabber",
                                               "GrabberSetMediaType RGB24",
                                               "AddFilter Null Renderer",
                                               "SetBufferSamples 1",
                                               "SetFiltergraph",
                                               "RenderStream",
                                               "QueryMediaControl",
                                               "Run",
                                               "Stop"};
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(sim::Graph().connectedSinkKind, sim::kNullRendererFilter);

    // One request for the size the list holds once, in RGB24 at 30 frames a second.
    const auto& requests = sim::Graph().formatRequests;
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(platform::SameGuid(requests[0].subtype, platform::kMediaSubtypeRgb24));
    EXPECT_EQ(requests[0].width, 1280);
    EXPECT_EQ(requests[0].height, 720);
    EXPECT_EQ(requests[0].avgTimePerFrame, 333333);
    // No property of the camera is read or written.
    EXPECT_TRUE(sim::Requests().empty());
    // The graph bound a filter of its own: the discovery's entry is the same one, still held.
    EXPECT_EQ(CaptureFilters[0], discovered);
    ExpectNothingLeft("written");
    // The file is the frame in the connected format, put in place: nothing else is in the folder.
    EXPECT_TRUE(IsTestFrameBitmap(kStill, 1280, 720));
    EXPECT_EQ(sim::Files().files.size(), 1u);
}

TEST_F(HeadlessCaptureTest, NoSizeAsksFor1080pAsThePreviewDoesForEachEntryUpToRgb24) {
    Discover();
    EXPECT_EQ(Capture(0, 0, 0).outcome, HeadlessOutcome::Written);
    // The list holds 1920x1080 compressed, then RGB24: two requests, both for RGB24.
    const auto& requests = sim::Graph().formatRequests;
    ASSERT_EQ(requests.size(), 2u);
    for (const sim::FormatRequest& r : requests) {
        EXPECT_TRUE(platform::SameGuid(r.subtype, platform::kMediaSubtypeRgb24));
        EXPECT_EQ(r.width, 1920);
        EXPECT_EQ(r.height, 1080);
    }
    EXPECT_EQ(CameraRecords[0].ResolutionX, 0); // the record is the window program's, left alone
    ExpectNothingLeft("1080p");
}

TEST_F(HeadlessCaptureTest, WithoutAFrameWithinTheTimeOutNothingIsWritten) {
    Discover();
    // The first frame a minute away: the wait ends at the time-out.
    sim::Graph().firstSampleAfterMs = 60000;
    uint64_t before = sim::TheDesktop().now;
    HeadlessCapture captured = Capture(0, 1280, 720, 500);
    EXPECT_EQ(captured.outcome, HeadlessOutcome::NoFrame);
    EXPECT_EQ(captured.result, platform::kNoSampleYet);
    EXPECT_EQ(sim::TheDesktop().now - before, 500u);
    EXPECT_EQ(sim::FindFile(kStill), nullptr);
    ExpectNothingLeft("late frame");

    // A frame within the time-out ends the wait when it comes.
    sim::Graph().firstSampleAfterMs = 300;
    before = sim::TheDesktop().now;
    EXPECT_EQ(Capture(0, 1280, 720, 500).outcome, HeadlessOutcome::Written);
    EXPECT_EQ(sim::TheDesktop().now - before, 300u);

    // A camera that never delivers, and a time-out of 0: no wait at all.
    sim::Files().files.clear();
    sim::Graph().autoSample = false;
    before = sim::TheDesktop().now;
    captured = Capture(0, 1280, 720, 0);
    EXPECT_EQ(captured.outcome, HeadlessOutcome::NoFrame);
    EXPECT_EQ(sim::TheDesktop().now, before);
    EXPECT_EQ(sim::FindFile(kStill), nullptr);
    ExpectNothingLeft("no frame");
}

// The first part of a frame that a camera pulled out mid-frame left in the grabber: its format
// does not describe it, and it is not written.
TEST_F(HeadlessCaptureTest, AFrameItsFormatDoesNotDescribeIsNoFrame) {
    Discover();
    sim::Graph().beforeGrabberCall = [] {
        if (sim::Graph().hasSample && sim::Graph().sample.size() % 2 == 0)
            sim::Graph().sample.resize(sim::Graph().sample.size() / 2 + 1);
    };
    const HeadlessCapture captured = Capture();
    EXPECT_EQ(captured.outcome, HeadlessOutcome::NoFrame);
    EXPECT_EQ(captured.result, platform::kInvalidMediaType);
    EXPECT_EQ(sim::FindFile(kStill), nullptr);
    ExpectNothingLeft("half a frame");
}

TEST_F(HeadlessCaptureTest, AFailedWriteLeavesNoFileAndKeepsAnEarlierOne) {
    Discover();
    sim::Files().unwritable.insert("C:\\shots");
    HeadlessCapture captured = Capture();
    EXPECT_EQ(captured.outcome, HeadlessOutcome::WriteFailed);
    EXPECT_EQ(captured.result, kAccessDenied);
    EXPECT_TRUE(sim::Files().files.empty());
    ExpectNothingLeft("unwritable folder");

    sim::Files().unwritable.clear();
    sim::Files().files[kStill] = "earlier image";
    sim::Files().failWriteAfter = 2; // the header and the info block, then the disk is full
    captured = Capture();
    EXPECT_EQ(captured.outcome, HeadlessOutcome::WriteFailed);
    EXPECT_EQ(captured.result, kDiskFull);
    EXPECT_EQ(*sim::FindFile(kStill), "earlier image");
    EXPECT_EQ(sim::Files().files.size(), 1u); // no partial file beside it
    ExpectNothingLeft("disk full");
}

TEST_F(HeadlessCaptureTest, NoCameraAtTheSlotOrOneThatWentOrCannotBeBoundIsNoCamera) {
    Discover({u"Parvanex Cam 1", u"Parvanex Cam 2"});
    for (int slot : {-1, 2, 5, 6}) { // outside the slots, or one the discovery left empty
        EXPECT_EQ(Capture(slot).outcome, HeadlessOutcome::NoCamera) << slot;
        EXPECT_TRUE(Calls().empty()) << slot;
    }

    // Gone from the list since the discovery: the capture category has no second camera left.
    sim::Unplug(1);
    HeadlessCapture captured = Capture(1);
    EXPECT_EQ(captured.outcome, HeadlessOutcome::NoCamera);
    EXPECT_TRUE(platform::Failed(captured.result));
    EXPECT_EQ(sim::Graph().formatRequests.size(), 0u);
    ExpectNothingLeft("unplugged");

    // Listed, but the binding fails.
    sim::Camera(0).bindFails = true;
    captured = Capture(0);
    EXPECT_EQ(captured.outcome, HeadlessOutcome::NoCamera);
    EXPECT_TRUE(platform::Failed(captured.result));
    ExpectNothingLeft("bind fails");
}

// Each step that can fail abandons the build with its own result, and what was made so far goes.
TEST_F(HeadlessCaptureTest, EachFailingStepIsGraphFailedWithItsResultAndReleasesAll) {
    const platform::HResult kRefused = static_cast<platform::HResult>(0x80040217u);
    for (const char* step :
         {"CreateFilterGraph", "QueryFilterGraph", "QueryGraphBuilder", "CreateCaptureBuilder",
          "AddFilter Parvanex Camera", "CreateSampleGrabber", "AddFilter Sample Grabber",
          "QuerySampleGrabber", "CreateNullRenderer", "AddFilter Null Renderer", "SetFiltergraph",
          "RenderStream", "QueryMediaControl", "Run"}) {
        Restart();
        Discover();
        sim::Graph().failures[step] = kRefused;
        const HeadlessCapture captured = Capture();
        EXPECT_EQ(captured.outcome, HeadlessOutcome::GraphFailed) << step;
        EXPECT_EQ(captured.result, kRefused) << step;
        EXPECT_EQ(sim::FindFile(kStill), nullptr) << step;
        ExpectNothingLeft(step);
    }
    // A camera without its capture pin's stream configuration cannot be given its format.
    Restart();
    Discover();
    sim::Camera(0).hasStreamConfig = false;
    const HeadlessCapture captured = Capture();
    EXPECT_EQ(captured.outcome, HeadlessOutcome::GraphFailed);
    EXPECT_EQ(captured.result, platform::kFail);
    EXPECT_EQ(sim::Graph().state, 0); // never run
    ExpectNothingLeft("no stream configuration");
}

TEST_F(HeadlessCaptureTest, AClaimOnTheCameraIsCameraBusyWithNothingBuilt) {
    Discover({u"Parvanex Cam", u"Parvanex Cam", u"Parvanex Other"});
    // Another process's window program previews the first of the two cameras of one name.
    sim::HoldClaimElsewhere(PreviewClaimName(0));
    EXPECT_TRUE(PreviewOpenElsewhere(0));
    const HeadlessCapture captured = Capture(0);
    EXPECT_EQ(captured.outcome, HeadlessOutcome::CameraBusy);
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(sim::Graph().formatRequests.empty());
    EXPECT_EQ(sim::FindFile(kStill), nullptr);
    ExpectNothingLeft("busy");

    // The second camera of the same name, and a camera of another name, are free.
    EXPECT_FALSE(PreviewOpenElsewhere(1));
    EXPECT_FALSE(PreviewOpenElsewhere(2));
    EXPECT_EQ(Capture(1).outcome, HeadlessOutcome::Written);
    EXPECT_EQ(Capture(2).outcome, HeadlessOutcome::Written);

    // Given back: the camera is free again.
    sim::GiveBackClaimElsewhere(PreviewClaimName(0));
    EXPECT_FALSE(PreviewOpenElsewhere(0));
    EXPECT_EQ(Capture(0).outcome, HeadlessOutcome::Written);
    ExpectNothingLeft("free again");
}

TEST_F(HeadlessCaptureTest, ClaimNamesTellCamerasApartAndAreNamesTheSystemTakes) {
    Discover({u"Parvanex Cam", u"Parvanex Cam", u"Parvanex\\Cam"});
    std::set<std::string> names;
    for (int slot = 0; slot < 3; ++slot)
        names.insert(PreviewClaimName(slot));
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(PreviewClaimName(-1), "");
    EXPECT_EQ(PreviewClaimName(6), "");
    // The longest name a record keeps, with backslashes in it: still a name the system takes.
    std::memset(CameraRecords[3].Name, '\\', sizeof CameraRecords[3].Name - 1);
    for (int slot : {0, 1, 2, 3}) {
        platform::Claim claim = platform::TakeNamedClaim(PreviewClaimName(slot).c_str());
        EXPECT_NE(claim, nullptr) << PreviewClaimName(slot);
        if (claim)
            platform::GiveBackNamedClaim(claim);
    }
    EXPECT_TRUE(sim::ClaimsHeldByTheTool().empty());
}

class PreviewClaimTest : public SimTest {
  protected:
    void StartWithCameras(int count) {
        for (int i = 0; i < count; ++i)
            AddVendorCamera(u"Parvanex Cam " + std::u16string(1, static_cast<char16_t>(u'1' + i)));
        ASSERT_EQ(Start(), sim::kLoopIdle);
    }
    static std::vector<std::string> Claims() { return sim::ClaimsHeldByTheTool(); }
    static std::vector<std::string> ClaimOf(int slot) { return {PreviewClaimName(slot)}; }
};

TEST_F(PreviewClaimTest, TheWindowProgramClaimsItsCameraWhileItsGraphExists) {
    StartWithCameras(2);
    EXPECT_TRUE(Claims().empty());
    EXPECT_FALSE(PreviewOpenElsewhere(0));

    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Claims(), ClaimOf(0));
    EXPECT_TRUE(PreviewOpenElsewhere(0));
    EXPECT_FALSE(PreviewOpenElsewhere(1));
    // The command-line program, in this process for the test, is refused and builds nothing.
    sim::Graph().calls.clear();
    EXPECT_EQ(CaptureWithoutWindow(0, 1280, 720, 3000, kStill).outcome,
              HeadlessOutcome::CameraBusy);
    EXPECT_TRUE(sim::Graph().calls.empty());
    EXPECT_EQ(sim::Graph().state, 2); // the preview runs on

    sim::Click(IDC_BTPREVW); // stopped, the graph kept
    EXPECT_EQ(Claims(), ClaimOf(0));
    sim::Click(IDC_BTPREVW); // run again: still the one claim
    EXPECT_EQ(Claims(), ClaimOf(0));

    // Another camera selected: the graph and its claim go; that camera's preview claims it.
    sim::Click(CameraButtonOf(1));
    EXPECT_TRUE(Claims().empty());
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Claims(), ClaimOf(1));

    // The exit releases the graph, and the claim with it.
    sim::Click(IDC_BTEXIT);
    EXPECT_TRUE(Claims().empty());
    EXPECT_FALSE(PreviewOpenElsewhere(1));
}

TEST_F(PreviewClaimTest, ALostCameraOrAFailedBuildLeavesNoClaim) {
    StartWithCameras(1);
    sim::Click(IDC_BTPREVW);
    ASSERT_EQ(Claims(), ClaimOf(0));
    const std::string claimed = PreviewClaimName(0);
    sim::Unplug(0);
    sim::SendToMain(platform::msg::DeviceChange, platform::dbt::DeviceRemoveComplete, 0);
    EXPECT_TRUE(Claims().empty());
    EXPECT_FALSE(platform::NamedClaimHeld(claimed.c_str()));

    // A build that fails takes no claim; the next one that succeeds does.
    Restart();
    StartWithCameras(1);
    sim::Graph().failures["QueryMediaControl"] = platform::kFail;
    sim::Click(IDC_BTPREVW);
    EXPECT_TRUE(Claims().empty());
    sim::Graph().failures.clear();
    sim::Click(CameraButtonOf(0)); // a camera selected anew builds again
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Claims(), ClaimOf(0));
}

// A claim held by another process on the window program's camera changes nothing for the window
// program: it only asks at the command line's side.
TEST_F(PreviewClaimTest, TheWindowProgramPreviewsWhateverOthersHold) {
    StartWithCameras(1);
    sim::HoldClaimElsewhere(PreviewClaimName(0));
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(sim::Graph().state, 2);
    EXPECT_EQ(Claims(), ClaimOf(0));
    sim::Click(IDC_BTEXIT);
    EXPECT_TRUE(Claims().empty());
    EXPECT_TRUE(platform::NamedClaimHeld(PreviewClaimName(0).c_str())); // the other's, still
}

} // namespace
