#include "app/window_procedure.h"

#include "app/handlers.h"
#include "app/shell_state.h"
#include "camera/preview_graph.h"
#include "camera/still_capture.h"
#include "panel/control_ids.h"
#include "panel/control_layout.h"
#include "panel/panel_sync.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"
#include "settings/camera_settings.h"

using namespace platform;

intptr_t MainWindowProcedure(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case msg::Create:
        // Kept at once so that every operation can address the controls, also when the
        // registration for device notices fails later.
        Shell.mainWindow = window;
        CreateControls(window);
        return 0;
    case msg::Destroy:
        PostQuit(0);
        return 0;
    case msg::Close:
        CloseSequence(true);
        return 0;
    case msg::Command:
        HandleCommand(static_cast<int>(wParam & 0xFFFF));
        return 0;
    case msg::HScroll:
        HandleSlider(reinterpret_cast<Window>(lParam));
        return 0;
    case msg::Timer:
        HandleTimer(wParam);
        return 0;
    case msg::DeviceChange:
        if (wParam == dbt::DeviceRemoveComplete) {
            ClearCameraRecords();
            RescanCameras(true);
        } else if (wParam == dbt::DeviceArrival) {
            RescanCameras(false);
        }
        return 0;
    default:
        return DefaultProcedure(window, message, wParam, lParam);
    }
}

void UpdatePreviewButton() {
    const int state = PreviewState();
    if (state == 0)
        SetText(ControlOf(IDC_BTPREVW), "Preview");
    else if (state == 2)
        SetText(ControlOf(IDC_BTPREVW), "Stop");
}

void CaptureImage() {
    if (PreviewState() != 2) {
        TogglePreview(Shell.selectedCamera);
        SleepFor(250);
    }
    CaptureStill();
}
