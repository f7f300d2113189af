// set: one operation per value in the order given, each the one the panel makes for the same
// choice (the table below; the first test adds the values the panel has no single control for);
// refusals named with their results while the other values are still written; what set writes, get
// reads back, and what get shows, set takes.
#include "cli_fixture.h"
#include "core/control_ids.h"

#include <algorithm>
#include <sstream>

namespace {

class CliSetTest : public CliTest {};

TEST_F(CliSetTest, EachValueIsOneOperationInTheOrderGiven) {
    AddVendorCamera();
    const CliRun run =
        Cli({"set", "Brightness=200", "Zoom=151", "FocusValue=-1", "ExposureTime=500",
             "CameraMode=manual", "CameraMode=auto", "FocusValue=auto"});
    EXPECT_EQ(TakeRequests(),
              (Strings{
                  "procamp set 0 200 2",
                  "vendor set 3 0 0 0 152",
                  "control set 6 128 1",
                  "vendor set 5 2 0 0 500",
                  // the manual mode: exposure control, the time just set, the frame-rate lock
                  "control range 4",
                  "control set 4 -6 2",
                  "vendor set 5 2 0 0 500",
                  "control set 19 0 2",
                  // the automatic mode
                  "control range 4",
                  "control set 4 -6 1",
                  "control set 19 1 1",
                  "control set 6 128 1",
              }));
    EXPECT_EQ(run, (CliRun{0,
                           "camera 1: Brightness=200\n"
                           "camera 1: Zoom=152 (151 raised to even)\n"
                           "camera 1: FocusValue=-1\n"
                           "camera 1: ExposureTime=500\n"
                           "camera 1: CameraMode=manual\n"
                           "camera 1: CameraMode=auto\n"
                           "camera 1: FocusValue=auto\n",
                           ""}));
}

// The camera's time is read once: a second manual mode in the same call writes it again unread.
TEST_F(CliSetTest, TheManualModeKeepsTheCamerasExposureTimeWhenNoneWasSet) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex Cam 1");
    c.vendor[5] = {1, 0, 0, 777};
    sim::AddCamera(c);
    EXPECT_EQ(Cli({"set", "CameraMode=manual", "CameraMode=manual"}).code, 0);
    EXPECT_EQ(TakeRequests(),
              (Strings{"vendor get 5", "control range 4", "control set 4 -6 2",
                       "vendor set 5 2 0 0 777", "control set 19 0 2", "control range 4",
                       "control set 4 -6 2", "vendor set 5 2 0 0 777", "control set 19 0 2"}));
}

TEST_F(CliSetTest, ARefusedValueIsNamedWithItsResultAndTheRestAreStillWritten) {
    AddVendorCamera();
    sim::Reject(0, sim::Interface::ProcAmp, sim::Direction::Set, 0);
    sim::Reject(0, sim::Interface::Vendor, sim::Direction::Set, 3);
    EXPECT_EQ(Cli({"set", "Brightness=200", "Contrast=40", "Zoom=120", "Gain=30"}),
              (CliRun{4, "camera 1: Contrast=40\ncamera 1: Gain=30\n",
                      "FramewrightCli: camera 1 refused Brightness=200: 0x80070057\n"
                      "FramewrightCli: camera 1 refused Zoom=120: 0x80004005\n"}));
    EXPECT_EQ(TakeRequests(), (Strings{"procamp set 0 200 2", "procamp set 1 40 2",
                                       "vendor set 3 0 0 0 120", "procamp set 9 30 2"}));
    EXPECT_EQ(sim::Camera(0).procAmp[1].value, 40);
}

// The panel's choice and the same value on the command line: the same requests.
struct PanelChoice {
    const char* assignment;
    std::vector<int> before; // clicks that put the panel where the choice can be made
    int control;
    int position; // a slider's position; -1 for a click
};

TEST_F(CliSetTest, EachValueMakesTheRequestsOfThePanelsChoice) {
    const PanelChoice choices[] = {
        {"Brightness=200", {}, IDC_TBBRIGHT, 200},
        {"Zoom=151", {}, IDC_TBZOOM, 151},
        {"ExposureTime=500", {}, IDC_TBEXPTIM, 500},
        {"FocusValue=40", {}, IDC_TBFOCUS, 40},
        {"BacklightCompensation=1", {}, IDC_TBBACKCO, 1},
        {"WhiteBalance=auto", {IDC_CKWHIBAL}, IDC_CKWHIBAL, -1},
        {"FocusValue=auto", {IDC_CKFOCUS}, IDC_CKFOCUS, -1},
        {"LEDInfo=off", {}, IDC_RBLEDOFF, -1},
        {"LEDInfo=on", {}, IDC_RBLEDON, -1},
        {"LEDInfo=auto", {IDC_RBLEDOFF}, IDC_RBLEDAUT, -1},
        {"PowerScheme=off", {}, IDC_RBPWROFF, -1},
        {"PowerScheme=60", {}, IDC_RB60HZ, -1},
        {"PowerScheme=50", {IDC_RB60HZ}, IDC_RB50HZ, -1},
    };
    for (const PanelChoice& choice : choices) {
        RestartWithCamera();
        Start();
        for (int id : choice.before)
            sim::Click(id);
        sim::Requests().clear();
        if (choice.position < 0)
            sim::Click(choice.control);
        else
            sim::MoveSlider(choice.control, choice.position);
        const Strings panel = TakeRequests();
        EXPECT_FALSE(panel.empty()) << choice.assignment;
        RestartWithCamera();
        const CliRun run = Cli({"set", choice.assignment});
        EXPECT_EQ(run.code, 0) << choice.assignment << ": " << run.err;
        EXPECT_EQ(TakeRequests(), panel) << choice.assignment;
    }
}

TEST_F(CliSetTest, WhatSetWritesGetReadsAndWhatGetShowsSetTakes) {
    AddVendorCamera();
    const Strings set = {
        "set",      "LEDInfo=off",      "PowerScheme=60",    "Brightness=90", "WhiteBalance=5000",
        "Zoom=200", "ExposureTime=400", "CameraMode=manual", "FocusValue=30"};
    ASSERT_EQ(Cli(set).code, 0);
    const CliRun get = Cli({"get"});
    ASSERT_EQ(get.code, 0) << get.err;
    // NAME=VALUE of every row after the camera's line and the header.
    std::istringstream lines(get.out);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    std::vector<std::string> shown = {"set"};
    while (std::getline(lines, line)) {
        std::istringstream cells(line);
        std::string name, value;
        cells >> name >> value;
        shown.push_back(name + "=" + value);
    }
    ASSERT_EQ(shown.size(), 1u + 13u);
    for (const std::string& assignment : set)
        EXPECT_NE(std::find(shown.begin(), shown.end(), assignment), shown.end()) << assignment;
    const CliRun back = Cli(shown);
    EXPECT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(Cli({"get"}).out, get.out);
}

TEST_F(CliSetTest, IdentifyGivesTheSignalAndReturnsTheLedToTheCamerasMode) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex Cam 1");
    c.vendor[7] = {0, 0, 0, 1, 0}; // on
    sim::AddCamera(c);
    const uint64_t before = sim::TheDesktop().now;
    EXPECT_EQ(Cli({"identify"}), (CliRun{0, "camera 1: identification signal given\n", ""}));
    EXPECT_EQ(TakeRequests(),
              (Strings{"vendor get 7", "vendor set 7 0 0 0 2 255", "vendor set 7 0 0 0 1 255"}));
    EXPECT_EQ(sim::TheDesktop().now - before, 650u);
}

TEST_F(CliSetTest, IdentifyWithoutTheLedsModeReturnsItToAutomaticAndSaysSo) {
    AddVendorCamera();
    sim::Reject(0, sim::Interface::Vendor, sim::Direction::Get, 7);
    EXPECT_EQ(Cli({"identify"}),
              (CliRun{4, "camera 1: identification signal given\n",
                      "FramewrightCli: camera 1 refused the read of LEDInfo: 0x80004005\n"}));
    EXPECT_EQ(TakeRequests(),
              (Strings{"vendor get 7", "vendor set 7 0 0 0 2 255", "vendor set 7 0 0 0 3 255"}));
}

} // namespace
