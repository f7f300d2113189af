// A fresh simulated desktop and fresh module state: what every host test, benchmark round and fuzz
// input starts from. The filters of the last run belong to devices that are gone, so they are
// forgotten unreleased.
#pragma once

#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/shell_state.h"
#include "platform/sim/sim_desktop.h"

inline void FreshTool() {
    for (platform::Filter& f : CaptureFilters)
        f = nullptr;
    PreviewGraph = PreviewGraphParts();
    sim::ResetAll();
    ClearCameraRecords();
    Shell = ShellState();
    General = GeneralSettings();
    SettingsChanged = false;
}
