// The preview graph: the three presses of the Preview button, the placement of the video window,
// failed builds and the missing camera. The stream format it asks for: StreamFormatTest.
#include "fixture.h"

#include "camera/camera_unavailable.h"
#include "camera/preview_graph.h"
#include "platform/sim/sim_graph.h"

namespace {

class PreviewGraphTest : public SimTest {
  protected:
    std::string Caption() { return sim::Control(IDC_BTPREVW)->text; }
    bool ParametersVisible() { return sim::Control(IDC_TBBRIGHT)->visible; }
    int Count(const std::string& call) {
        const auto& calls = sim::Graph().calls;
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
};

TEST_F(PreviewGraphTest, ThreePressesBuildStopAndRunAgain) {
    StartWithCamera();
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Caption(), "Stop");
    EXPECT_EQ(sim::Graph().state, 2);
    EXPECT_TRUE(CameraRecords[0].Previewing);
    for (const char* call :
         {"AddFilter Parvanex Camera", "AddFilter Sample Grabber", "AddFilter Video Renderer",
          "GrabberSetMediaType RGB24", "SetBufferSamples 1", "RenderStream"})
        EXPECT_EQ(Count(call), 1) << call;
    EXPECT_TRUE(ParametersVisible()); // extern: the renderer keeps its own window

    sim::TheDesktop().calls.clear();
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Caption(), "Preview");
    EXPECT_EQ(sim::Graph().state, 0);
    EXPECT_FALSE(sim::Graph().windowVisible);
    EXPECT_GT(DesktopCalls("ShowWindow 6"), 0);
    EXPECT_GT(DesktopCalls("ShowWindow 9"), 0);

    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Caption(), "Stop");
    EXPECT_TRUE(sim::Graph().windowVisible);
    EXPECT_FALSE(ParametersVisible()); // hidden even with InternalDisplay 0
    EXPECT_EQ(Count("CreateFilterGraph"), 1);
}

TEST_F(PreviewGraphTest, NoStreamConfigurationAbandonsTheBuildUntilACameraIsSelected) {
    StartWithCamera();
    sim::Camera(0).hasStreamConfig = false;
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Caption(), "Preview");
    EXPECT_EQ(PreviewGraph.Control, nullptr);
    EXPECT_TRUE(CameraRecords[0].Previewing);
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Count("CreateFilterGraph"), 1); // inert
    sim::Camera(0).hasStreamConfig = true;
    sim::Control(IDC_RBCAM1)->check = 0;
    sim::Click(IDC_RBCAM1); // selecting the camera again closes what is left
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Count("CreateFilterGraph"), 2);
    EXPECT_EQ(Caption(), "Stop");
}

TEST_F(PreviewGraphTest, ACameraThatCannotBeBoundForTheGraphShowsTheBailingOutBox) {
    StartWithCamera();
    AddVendorCamera(u"Parvanex Second"); // listed after it: its name is the last call made
    sim::Camera(0).bindFails = true;
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Bailing Out!: Camera could not be detected "
                                                "reconnect and restart (0, no owner)"});
    EXPECT_FALSE(CameraRecords[0].Previewing);
    EXPECT_EQ(PreviewGraph.Control, nullptr);
    EXPECT_EQ(sim::Graph().objectsAlive, 0);
    EXPECT_EQ(Caption(), "Preview");
}

TEST_F(PreviewGraphTest, InternalDisplayEmbedsTheVideoInTheParametersBox) {
    StartWithCamera("[General]\r\nInternalDisplay=1\r\n");
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(sim::Graph().windowStyle, 0x44800000);
    EXPECT_EQ(sim::Graph().windowOwner,
              platform::Window(sim::HandleOf(sim::Control(IDC_GBPARAMS))));
    EXPECT_EQ(sim::Graph().windowWidth, 616);
    EXPECT_EQ(sim::Graph().windowHeight, 432);
    EXPECT_FALSE(ParametersVisible());
    sim::Click(IDC_RBEXTERN);
    EXPECT_EQ(sim::Graph().windowStyle, 0x00CF0000);
    EXPECT_EQ(sim::Graph().windowOwner, nullptr);
    EXPECT_TRUE(ParametersVisible());
    EXPECT_EQ(General.InternalDisplay, 0);
    sim::Click(IDC_RBINTERN);
    EXPECT_EQ(sim::Graph().windowStyle, 0x46800000);
}

TEST_F(PreviewGraphTest, ABuildAfterARescanReleasesTheEarlierGraphFirst) {
    StartWithCamera();
    sim::Click(IDC_BTPREVW);
    sim::Click(IDC_BTPREVW);            // stopped graph
    sim::SendToMain(0x0219, 0x8000, 0); // arrival: records cleared, graph left alone
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(Count("CreateFilterGraph"), 2);
    sim::Click(IDC_RBCAM1); // selecting a camera releases every graph object
    EXPECT_EQ(sim::Graph().objectsAlive, 0);
    EXPECT_EQ(sim::Graph().taskBlocksAlive, 0);
    EXPECT_EQ(sim::FiltersAlive(), 1); // only the camera's new binding from discovery
    EXPECT_FALSE(CameraRecords[0].Previewing);
}

// A graph left running to the end of the process took the process down under Wine now and then:
// every way out stops and releases it while the main window goes.
TEST_F(PreviewGraphTest, EveryWayOutStopsAndReleasesARunningGraph) {
    StartWithCamera("[General]\r\nInternalDisplay=1\r\n");
    sim::Click(IDC_BTPREVW);
    ASSERT_EQ(sim::Graph().state, 2);
    sim::Click(IDC_BTEXIT);
    EXPECT_EQ(sim::Graph().state, 0);
    EXPECT_EQ(sim::Graph().calls.back(), "Stop");
    EXPECT_EQ(sim::Graph().objectsAlive, 0);
    EXPECT_EQ(PreviewGraph.Control, nullptr);
}

// The renderer's window goes with the graph: it is hidden and given up by its owner first, on every
// way the graph is released (the simulated graph records a window it lets go while owned).
TEST_F(PreviewGraphTest, TheVideoWindowLosesItsOwnerBeforeTheGraphLetsItGo) {
    StartWithCamera("[General]\r\nInternalDisplay=1\r\n");
    sim::Click(IDC_BTPREVW);
    ASSERT_NE(sim::Graph().windowOwner, nullptr);
    sim::Click(IDC_RBCAM1); // camera selection: ClosePreview
    EXPECT_FALSE(sim::Graph().windowVisible);
    sim::Click(IDC_BTPREVW);
    sim::Click(IDC_BTEXIT); // the way out; the fixture's tear-down reports the graph's faults
}

// A camera used by another program or kept from us by the privacy settings refuses the connection
// or the run: no preview, so the build is given up as any failed build, with the reason in the
// status bar and no claim left on the camera; no message box. "RunLater" is Wine's asynchronous
// run: Run answers S_FALSE, GetState fails, and only the camera filter itself tells why.
TEST_F(PreviewGraphTest, AnUnavailableCameraIsNoPreviewAndSaysWhy) {
    const char* const kBusy = "Camera in use by another program";
    const char* const kDenied = "Camera access is switched off in the privacy settings";
    const struct {
        const char* step;
        platform::HResult result;
        const char* status;
    } cases[] = {{"RenderStream", kCameraBusy, kBusy}, {"Run", kCameraBusy, kBusy},
                 {"RunLater", kCameraBusy, kBusy},     {"RenderStream", kCameraDenied, kDenied},
                 {"Run", kCameraDenied, kDenied},      {"RunLater", kCameraDenied, kDenied}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.step) + ": " + c.status);
        Restart();
        StartWithCamera("[General]\r\nInternalDisplay=1\r\nImageSavePath=C:\\p\\i.bmp\r\n");
        if (std::string(c.step) == "RunLater")
            sim::Graph().runFailsWhenAsked = c.result;
        else
            sim::Graph().failures[c.step] = c.result;
        sim::Click(IDC_BTPREVW);
        EXPECT_EQ(Caption(), "Preview");
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(PreviewGraph.Control, nullptr);
        EXPECT_TRUE(sim::ClaimsHeldByTheTool().empty());
        EXPECT_TRUE(ParametersVisible());
        EXPECT_TRUE(sim::TheDesktop().boxes.empty());
        EXPECT_TRUE(CameraRecords[0].Previewing); // as after any failed build
        sim::Click(IDC_BTCAPIMG);
        EXPECT_EQ(sim::FindFile("C:\\p\\i.bmp"), nullptr);
        EXPECT_EQ(Count("CreateFilterGraph"), 1);
        // Free again: selecting the camera lets the next press build a running preview.
        sim::Graph().failures.clear();
        sim::Graph().runFailsWhenAsked = 0;
        sim::Control(IDC_RBCAM1)->check = 0;
        sim::Click(IDC_RBCAM1);
        sim::Click(IDC_BTPREVW);
        EXPECT_EQ(Caption(), "Stop");
        EXPECT_EQ(sim::ClaimsHeldByTheTool().size(), 1u);
    }
}

} // namespace
