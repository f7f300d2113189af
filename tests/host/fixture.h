// A fresh simulated desktop and fresh module state for every test, and the steps most tests take:
// attach cameras, start the tool, read the settings file.
#pragma once

#include "../common/fresh_tool.h"
#include "app/app_main.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"

#include <gtest/gtest.h>

#include <string>

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FreshTool();
        exitedEarly = false;
    }

    // A graph that a test left running is given up as the tool would at a camera switch.
    ~SimTest() override { ReleasePreviewGraph(); }

    static int AddVendorCamera(const std::u16string& name = u"Parvanex Cam 1") {
        return sim::AddCamera(sim::VendorCamera(name));
    }

    // Runs start-up and the message loop until there is nothing left to do. Returns the exit
    // code: the loop's, the process exit's, or sim::kLoopIdle when the tool waits for input.
    static int Start() {
        try {
            return AppMain(nullptr);
        } catch (const sim::ProcessExit& exit) {
            exitedEarly = true;
            return exit.code;
        }
    }

    static std::string IniPath() { return sim::Files().currentDirectory + "\\Framewright.ini"; }
    static std::string Ini() {
        std::string* file = sim::FindFile(IniPath());
        return file ? *file : std::string();
    }
    static void WriteIni(const std::string& text) { sim::Files().files[IniPath()] = text; }

    static bool exitedEarly;
};

inline bool SimTest::exitedEarly = false;
