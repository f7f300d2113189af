// A fresh simulated desktop and fresh module state for every test, and the steps most tests take:
// attach cameras, start the tool (again), read the settings file.
#pragma once

#include "../common/fresh_tool.h"
#include "app/app_main.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "object_counts.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FreshTool();
        exitedEarly = false;
    }

    // Whatever the test left the tool holding is given up as the tool's way out would; then
    // nothing may be left at all.
    void TearDown() override {
        ReleaseWhatTheToolHolds();
        ExpectNothingLeft();
        EXPECT_TRUE(sim::Graph().faults.empty()) << sim::Graph().faults.front();
    }
    static void ExpectNothingLeft() {
        EXPECT_EQ(Outstanding(), NothingOutstanding()) << "left behind by the tool";
    }

    static int AddVendorCamera(const std::u16string& name = u"Parvanex Cam 1") {
        return sim::AddCamera(sim::VendorCamera(name));
    }

    // A second start as a new process: releases what the last start holds, expects nothing else
    // left, then starts afresh.
    static void Restart() {
        RestartTool(ExpectNothingLeft);
        exitedEarly = false;
    }

    // Runs start-up and the message loop until there is nothing left to do. Returns the exit
    // code: the loop's, the process exit's (exitedEarly tells the two apart), or sim::kLoopIdle
    // when the tool waits for input. Every test asserts on it.
    static int Start() {
        try {
            return AppMain(nullptr);
        } catch (const sim::ProcessExit& exit) {
            exitedEarly = true;
            return exit.code;
        }
    }

    // One vendor camera (slot 0) and a start with that settings file; none: a first start.
    static void StartWithCamera(const std::string& ini = "") {
        AddVendorCamera();
        if (!ini.empty())
            WriteIni(ini);
        ASSERT_EQ(Start(), sim::kLoopIdle);
    }

    // The same start, then the Preview button: a running preview.
    static void StartPreviewing(const std::string& ini) {
        StartWithCamera(ini);
        sim::Click(IDC_BTPREVW);
        ASSERT_EQ(sim::Graph().state, 2);
    }

    static std::string Status() { return sim::Control(IDC_SBSTATUS)->text; }
    // How often the simulated desktop was called so ("ShowWindow 9", "KillTimer 253").
    static long DesktopCalls(const std::string& call) {
        const auto& calls = sim::TheDesktop().calls;
        return std::count(calls.begin(), calls.end(), call);
    }
    // Every message box shown, as "caption: text (flags, owned)" or "(flags, no owner)".
    static std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const sim::MessageBoxShown& box : sim::TheDesktop().boxes)
            boxes.push_back(box.caption + ": " + box.text + " (" + std::to_string(box.flags) +
                            (box.owner ? ", owned)" : ", no owner)"));
        return boxes;
    }

    // The paths of the files whose paths start so, in order.
    static std::vector<std::string> FilesUnder(const std::string& prefix) {
        std::vector<std::string> paths;
        for (const auto& file : sim::Files().files)
            if (file.first.rfind(prefix, 0) == 0)
                paths.push_back(file.first);
        return paths;
    }

    static std::string IniPath() { return sim::Files().currentDirectory + "\\Framewright.ini"; }
    // The settings file; a missing one is a failure, so that no search in it passes for want of
    // a file.
    static std::string Ini() {
        const std::string* file = sim::FindFile(IniPath());
        if (!file)
            ADD_FAILURE() << "no settings file at " << IniPath();
        return file ? *file : std::string();
    }
    static void WriteIni(const std::string& text) { sim::Files().files[IniPath()] = text; }
    // The first `from` in the text replaced by `to`; a text without it fails the test.
    static void Replace(std::string& text, const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }

    static bool exitedEarly;
};

inline bool SimTest::exitedEarly = false;

// One vendor camera discovered and selected without a start, for the property functions alone.
class DiscoveredCameraTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        camera = AddVendorCamera();
        Shell.camerasFound = DiscoverCameras();
        ASSERT_EQ(Shell.camerasFound, 1);
        Shell.selectedCamera = 0;
        sim::Requests().clear();
    }
    CameraSettings& record = CameraRecords[0];
    int camera = 0;
};
