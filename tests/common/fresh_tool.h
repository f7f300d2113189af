// A fresh simulated desktop and fresh module state: what every host test, benchmark round and fuzz
// input starts from, and the restart of the tool as a new process.
#pragma once

#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/shell_state.h"
#include "platform/sim/sim_desktop.h"

// Everything from nothing. The filters of the last run belong to devices that are gone (or about
// to go with the reset), so they are forgotten unreleased.
inline void FreshTool() {
    for (platform::Filter& f : CaptureFilters)
        f = nullptr;
    for (std::u16string& path : CaptureDevicePaths)
        path.clear();
    PreviewGraph = PreviewGraphParts();
    sim::ResetAll();
    ClearCameraRecords();
    Shell = ShellState();
    General = GeneralSettings();
    SettingsChanged = false;
}

// What a start of the tool still holds on the simulated devices: the preview graph and the capture
// filters, released as the tool's own way out would release them.
inline void ReleaseWhatTheToolHolds() {
    ReleasePreviewGraph();
    ReleaseCaptureFilters();
}

// A start after a start, as a new process would see it. What the earlier start still holds is
// released while the simulated devices that made it exist; only then does everything start fresh.
// A restart that forgot it would leave a running graph behind. `afterRelease` runs between the two:
// where a test checks that the earlier start left nothing else.
template <typename AfterRelease> void RestartTool(AfterRelease afterRelease) {
    ReleaseWhatTheToolHolds();
    afterRelease();
    FreshTool();
}
inline void RestartTool() {
    RestartTool([] {});
}
