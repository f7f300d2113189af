// Still capture: counted names, the status codes and the counter. What a failed write leaves of an
// earlier image: HostileFilesTest; the bitmap's layout: VanishingCameraTest's whole frames.
#include "fixture.h"

#include "app/window_procedure.h"
#include "camera/preview_graph.h"
#include "camera/still_capture.h"
#include "platform/profile.h"
#include "platform/sim/sim_graph.h"

#include <cstring>

namespace {

class StillCaptureTest : public SimTest {
  protected:
    static void StartPreviewing(const std::string& options) {
        SimTest::StartPreviewing("[General]\r\nImageSavePath=C:\\shots\\W1X9Image.bmp\r\n" +
                                 options);
    }
    static std::string* File(const std::string& path) { return sim::FindFile(path); }
};

// Six digits, the sign and the names at every length of the save path: HostileFilesTest and the
// number handed back below. Past six digits the name grows, and what then does not fit is refused.
TEST_F(StillCaptureTest, CountedNamesGrowPastSixDigitsAndTakeFourCharactersOff) {
    char path[kImagePathSize];
    ASSERT_TRUE(CountedImagePath("C:\\W1X9Image.bmp", 1000000, path));
    EXPECT_STREQ(path, "C:\\W1X9Image1000000.bmp");
    ASSERT_TRUE(CountedImagePath("C:\\shot.tiff", 2, path)); // four letters go, the dot stays
    EXPECT_STREQ(path, "C:\\shot.000002.bmp");
    EXPECT_FALSE(CountedImagePath(std::string(253, 'p').c_str(), 1000000, path));
}

// A failed capture hands its number back, in memory and in the file, so the images written carry
// consecutive numbers.
TEST_F(StillCaptureTest, AFileThatCannotBeCreatedGivesItsNumberBack) {
    StartPreviewing("IncrementImageName=1\r\nImageCounter=-5\r\n");
    sim::Files().unwritable.insert("C:\\shots");
    EXPECT_EQ(CaptureStill(), static_cast<platform::HResult>(0x80070005u));
    EXPECT_EQ(General.ImageCounter, -5);
    EXPECT_NE(Ini().find("ImageCounter=-5\r\n"), std::string::npos);
    sim::Files().unwritable.clear();
    EXPECT_EQ(CaptureStill(), platform::kOk);
    EXPECT_NE(File("C:\\shots\\W1X9Image-000004.bmp"), nullptr);
    EXPECT_NE(Ini().find("ImageCounter=-4\r\n"), std::string::npos);
}

// Every later number would repeat the last one (or wrap around to numbers already used): the
// capture is refused and nothing changes.
TEST_F(StillCaptureTest, ACounterAtItsLimitRefusesTheCaptureAndChangesNothing) {
    StartPreviewing("IncrementImageName=1\r\nImageCounter=2147483647\r\n");
    sim::Files().files["C:\\shots\\W1X9Image2147483647.bmp"] = "the last image";
    const std::string iniBefore = Ini();
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_EQ(CaptureStill(), platform::kFail) << "attempt " << attempt;
    EXPECT_EQ(General.ImageCounter, INT32_MAX);
    EXPECT_EQ(Ini(), iniBefore);
    EXPECT_EQ(*File("C:\\shots\\W1X9Image2147483647.bmp"), "the last image");
    EXPECT_EQ(sim::Files().files.size(), 2u);
}

// An unattended run (preview at start, one capture, exit) ends with code 0, one image and its graph
// stopped and released. CaptureOnStart's capture comes 100 ms after the first run; a camera whose
// first frame comes later must still give the run its one picture.
TEST_F(StillCaptureTest, AnUnattendedRunTakesOneImageAndEndsWithItsGraphReleased) {
    const struct {
        const char* options;
        uint32_t firstFrameMs;
        const char* image;
        int32_t counter;
    } runs[] = {
        {"", 0, "C:\\a.bmp", 0}, // the default review time of 1500 ms
        {"IncrementImageName=1\r\nReviewTimeMs=0\r\n", 0, "C:\\a000001.bmp", 1},
        {"IncrementImageName=1\r\nReviewTimeMs=0\r\n", 300, "C:\\a000001.bmp", 1},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(std::string(run.options) + " first frame after " +
                     std::to_string(run.firstFrameMs) + " ms");
        Restart();
        AddVendorCamera();
        WriteIni(std::string("[General]\r\nImageSavePath=C:\\a.bmp\r\nStartWithPreview=1\r\n"
                             "CaptureOnStart=1\r\nExitOnCapture=1\r\n") +
                 run.options);
        sim::Graph().firstSampleAfterMs = run.firstFrameMs;
        EXPECT_EQ(Start(), 0);
        EXPECT_FALSE(exitedEarly);
        EXPECT_NE(File(run.image), nullptr);
        EXPECT_EQ(sim::Files().files.size(), 2u); // the image and the settings file
        EXPECT_EQ(General.ImageCounter, run.counter);
        EXPECT_EQ(sim::MainWindow(), nullptr);
        EXPECT_EQ(sim::Graph().state, 0); // the capture sequence ran it again just before the end
        EXPECT_EQ(sim::Graph().objectsAlive, 0);
    }
}

// CaptureOnStart's sequence follows a build of the graph (one by "Capture Image" too, which takes
// its own picture first), never a run of the stopped graph.
TEST_F(StillCaptureTest, CaptureOnStartFollowsABuildNotARestart) {
    StartWithCamera("[General]\r\nIncrementImageName=1\r\nCaptureOnStart=1\r\n");
    sim::Click(IDC_BTCAPIMG);
    EXPECT_EQ(General.ImageCounter, 1);
    sim::RunFor(3000);
    EXPECT_EQ(General.ImageCounter, 2);
    sim::Click(IDC_BTPREVW);
    sim::Click(IDC_BTPREVW);
    ASSERT_EQ(sim::Graph().state, 2);
    sim::RunFor(3000);
    EXPECT_EQ(General.ImageCounter, 2);
}

TEST_F(StillCaptureTest, TheWaitForAFirstFrameIsBoundedAndCostsNothingOnceFramesFlow) {
    StartPreviewing("IncrementImageName=1\r\n");
    uint64_t before = sim::TheDesktop().now;
    CaptureImage(); // frames flow: no wait at all
    EXPECT_EQ(sim::TheDesktop().now, before);
    EXPECT_NE(File("C:\\shots\\W1X9Image000001.bmp"), nullptr);

    // A camera that never delivers: the capture gives up after the bound, writes nothing and
    // keeps the counter.
    sim::Graph().hasSample = false;
    sim::Graph().firstSampleAfterMs = 60000;
    sim::Click(IDC_BTPREVW); // stop
    sim::Click(IDC_BTPREVW); // run again, the first frame now a minute away
    before = sim::TheDesktop().now;
    CaptureImage();
    EXPECT_GE(sim::TheDesktop().now - before, 1000u);
    EXPECT_LT(sim::TheDesktop().now - before, 1100u);
    EXPECT_EQ(File("C:\\shots\\W1X9Image000002.bmp"), nullptr);
    EXPECT_EQ(General.ImageCounter, 1);
}

} // namespace
