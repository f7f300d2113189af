// capture: one still without a window, by the contract of camera/headless_capture.h. The stream
// format comes from the camera's section, else from --width and --height, else 1920 x 1080; no
// frame in time, a camera the window program previews and a file that cannot be written exit 6.
#include "camera/camera_unavailable.h"
#include "bitmap_checks.h"
#include "cli_fixture.h"
#include "core/control_ids.h"
#include "platform/sim/sim_graph.h"

#include <cstring>

namespace {

// What a capture builds is released by the time it returns: the leak check after every test (and
// every Restart between a table's rows) finds the graph, its filters and interfaces otherwise.
class CliCaptureTest : public CliTest {
  protected:
    static constexpr const char* kShot = "C:\\work\\shot.bmp";
};

// The default format asked for is the one given: an empty stderr says the camera streamed it.
TEST_F(CliCaptureTest, WritesOneBitmapOfTheDefaultFormatWithoutAWindow) {
    AddVendorCamera();
    EXPECT_EQ(Cli({"capture", "--out", kShot}),
              (CliRun{0, "camera 1: 1920x1080 image written to C:\\work\\shot.bmp\n", ""}));
    EXPECT_EQ(BitmapSize(kShot), "1920x1080");
    EXPECT_TRUE(sim::TheDesktop().windows.empty()); // no window at all
    EXPECT_TRUE(sim::Requests().empty());           // no property asked or written
}

TEST_F(CliCaptureTest, TheFormatComesFromTheSectionElseFromTheOptions) {
    struct Case {
        const char* what;
        std::string ini; // empty: no file
        std::vector<std::string> size;
        const char* expected;
    };
    const std::string section = "[General]\r\nNumberOfCameras=1\r\n[Camera0]\r\nName=Parvanex Cam "
                                "1\r\n";
    const std::string stored = section + "ResolutionX=1280\r\nResolutionY=720\r\n";
    const Strings options = {"--width", "640", "--height", "480"};
    const Case cases[] = {
        {"stored format over the options", stored, options, "1280x720"},
        {"stored format alone", stored, {}, "1280x720"},
        {"no file: the options", "", options, "640x480"},
        {"a stored 0 (a first start's file): the options",
         section + "ResolutionX=0\r\nResolutionY=0\r\n", options, "640x480"},
        {"a section without a format and no options: the default", section, {}, "1920x1080"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RestartWithCamera();
        if (!c.ini.empty())
            WriteIni(c.ini);
        std::vector<std::string> args = {"capture", "--out", kShot};
        args.insert(args.end(), c.size.begin(), c.size.end());
        EXPECT_EQ(Cli(args), (CliRun{0,
                                     std::string("camera 1: ") + c.expected +
                                         " image written to C:\\work\\shot.bmp\n",
                                     ""}));
        EXPECT_EQ(BitmapSize(kShot), c.expected);
        if (!c.ini.empty()) {
            EXPECT_EQ(Ini(), c.ini); // read, never written
        }
    }
}

// A camera that does not offer the asked size streams its own: the output names the size the file
// holds, and stderr says the asked one was not given.
TEST_F(CliCaptureTest, ACameraWithoutTheAskedSizeIsReportedAtTheSizeItWrote) {
    sim::SimCamera camera = sim::VendorCamera(u"Parvanex Cam 1");
    camera.capabilities = {sim::SimCapability{platform::kMediaSubtypeRgb24, 640, 480}};
    camera.current = camera.capabilities[0];
    sim::AddCamera(camera);
    EXPECT_EQ(Cli({"capture", "--out", kShot, "--width", "1920", "--height", "1080"}),
              (CliRun{0, "camera 1: 640x480 image written to C:\\work\\shot.bmp\n",
                      "camera 1 does not stream 1920x1080; the image has the camera's size "
                      "(FramewrightCli formats lists its sizes)\n"}));
    EXPECT_EQ(BitmapSize(kShot), "640x480");
}

TEST_F(CliCaptureTest, ASettingsFileForOtherCamerasExitsFiveBeforeTheGraph) {
    AddVendorCamera();
    WriteIni("[General]\r\nNumberOfCameras=1\r\n[Camera0]\r\nName=Parvanex Elsewhere\r\n");
    EXPECT_EQ(Cli({"capture", "--out", kShot}),
              (CliRun{5, "",
                      "FramewrightCli: the settings file C:\\work\\Framewright.ini describes other "
                      "cameras than those attached\n"}));
    EXPECT_EQ(BitmapSize(kShot), "no file");
    EXPECT_TRUE(sim::Graph().calls.empty());
}

TEST_F(CliCaptureTest, NoFrameWithinTheTimeOutExitsSixAndWritesNothing) {
    AddVendorCamera();
    sim::Graph().firstSampleAfterMs = 5000;
    const uint64_t before = sim::TheDesktop().now;
    EXPECT_EQ(Cli({"capture", "--out", kShot, "--timeout-ms", "500"}),
              (CliRun{6, "", "FramewrightCli: camera 1: no frame within 500 ms\n"}));
    EXPECT_EQ(BitmapSize(kShot), "no file");
    EXPECT_GE(sim::TheDesktop().now - before, 500u);
    EXPECT_LT(sim::TheDesktop().now - before, 5000u);
}

TEST_F(CliCaptureTest, ACameraTheWindowProgramPreviewsIsLeftAlone) {
    StartPreviewing("[General]\r\nImageSavePath=C:\\work\\window.bmp\r\n");
    const size_t graphCalls = sim::Graph().calls.size();
    EXPECT_EQ(Cli({"capture", "--out", kShot}),
              (CliRun{6, "",
                      "FramewrightCli: camera 1 is being previewed by the window program; close "
                      "its preview and try again\n"}));
    EXPECT_EQ(BitmapSize(kShot), "no file");
    EXPECT_EQ(sim::Graph().calls.size(), graphCalls); // no graph built, nothing stopped
    EXPECT_EQ(sim::Graph().state, 2);
}

// A camera another program streams from, or one the privacy settings keep from us, is named as
// such whichever step refuses; any other failure keeps its bare result code.
TEST_F(CliCaptureTest, AnUnavailableCameraIsNamedAndExitsSix) {
    struct Case {
        const char* step;
        platform::HResult result;
        const char* err;
    };
    const Case cases[] = {
        {"RenderStream", kCameraBusy, "FramewrightCli: camera 1 is in use by another program\n"},
        {"Run", kCameraShared, "FramewrightCli: camera 1 is in use by another program\n"},
        // Wine's asynchronous run: S_FALSE, then GetState fails; the camera filter tells why.
        {"RunLater", kCameraDenied,
         "FramewrightCli: camera 1: access to the camera is switched off in the privacy "
         "settings\n"},
        {"Run", platform::kFail,
         "FramewrightCli: camera 1: the capture graph could not be built or run: 0x80004005\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        RestartWithCamera();
        if (std::string(c.step) == "RunLater")
            sim::Graph().runFailsWhenAsked = c.result;
        else
            sim::Graph().failures[c.step] = c.result;
        EXPECT_EQ(Cli({"capture", "--out", kShot}), (CliRun{6, "", c.err}));
        EXPECT_EQ(BitmapSize(kShot), "no file");
    }
}

// A webcam's first frames are dark while its automatic exposure settles: the still is taken once
// the camera has run --settle-ms (default 1000) after its first frame; 0 takes the first frame.
TEST_F(CliCaptureTest, TheStillWaitsForTheExposureToSettle) {
    struct Case {
        std::vector<std::string> settle;
        bool dark; // the camera's frames are dark for its first 700 ms
        uint64_t atLeastMs;
    };
    const Case cases[] = {
        {{}, false, 1000},
        {{"--settle-ms", "0"}, true, 0},
        {{"--settle-ms", "300"}, true, 300},
        {{"--settle-ms", "800"}, false, 800},
    };
    for (const Case& c : cases) {
        RestartWithCamera();
        sim::Graph().firstSampleAfterMs = 200;
        sim::Graph().darkForMs = 700;
        std::vector<std::string> args = {"capture", "--out",    kShot, "--width",
                                         "640",     "--height", "480"};
        args.insert(args.end(), c.settle.begin(), c.settle.end());
        const uint64_t before = sim::TheDesktop().now;
        const CliRun run = Cli(args);
        const std::string what = c.settle.empty() ? "default" : c.settle[1];
        ASSERT_EQ(run.code, 0) << what << ": " << run.err;
        const std::string* file = sim::FindFile(kShot);
        ASSERT_NE(file, nullptr) << what;
        const bool black = file->find_first_not_of('\0', 54) == std::string::npos;
        EXPECT_EQ(black, c.dark) << what;
        EXPECT_GE(sim::TheDesktop().now - before, 200 + c.atLeastMs) << what;
        EXPECT_LT(sim::TheDesktop().now - before, 200 + c.atLeastMs + 100) << what;
    }
}

// The program's paths are UTF-8 and reach the wide file functions as given: a folder in Greek
// letters is written into; bytes that are no UTF-8 name no file and are refused. (Other scripts
// and surrogate pairs: CliArgumentsTest's conversion.)
TEST_F(CliCaptureTest, AnyFolderIsWrittenIntoAsNamed) {
    const std::string path =
        "C:\\\xce\xb5\xce\xb9\xce\xba\xcf\x8c\xce\xbd\xce\xb5\xcf\x82\\shot.bmp";
    AddVendorCamera();
    EXPECT_EQ(Cli({"capture", "--out", path, "--settle-ms", "0"}),
              (CliRun{0, "camera 1: 1920x1080 image written to " + path + "\n", ""}));
    EXPECT_EQ(BitmapSize(path), "1920x1080");
    RestartWithCamera();
    EXPECT_EQ(Cli({"capture", "--out", "C:\\caf\xe9.bmp", "--settle-ms", "0"}),
              (CliRun{6, "", "FramewrightCli: cannot write C:\\caf\xe9.bmp: 0x80070003\n"}));
    EXPECT_TRUE(sim::Files().files.empty());
}

} // namespace
