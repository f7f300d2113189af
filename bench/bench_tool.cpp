#include "bench_tool.h"

#include "../tests/common/fresh_tool.h"
#include "app/app_main.h"
#include "core/control_ids.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_graph.h"

std::string SettingsFilePath() {
    return sim::Files().currentDirectory + "\\Framewright.ini";
}

int StartTool() {
    try {
        return AppMain(nullptr);
    } catch (const sim::ProcessExit& exit) {
        return exit.code;
    }
}

bool StartPreviewing() {
    RestartTool();
    sim::AddCamera(sim::VendorCamera(u"Parvanex Bench"));
    sim::Files().files[SettingsFilePath()] = "[General]\r\nImageSavePath=C:\\bench.bmp\r\n";
    StartTool();
    sim::Click(IDC_BTPREVW);
    return sim::Graph().state == 2; // running
}

uint64_t ForgetSimRecords() {
    const uint64_t requests = sim::Requests().size();
    sim::Requests().clear();
    sim::TheDesktop().texts.clear();
    sim::TheDesktop().calls.clear();
    sim::TheDesktop().passedKeyEvents.clear();
    sim::Graph().calls.clear();
    return requests;
}
