#include "app/window_procedure.h"

#include "app/handlers.h"
#include "app/print_key_hook.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "camera/still_capture.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "panel/control_layout.h"
#include "panel/panel_sync.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"

using namespace platform;

namespace {

// How long a capture waits at most for the first frame of a preview that has just started.
constexpr uint32_t kFirstFrameWaitMs = 1000;

} // namespace

intptr_t MainWindowProcedure(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case msg::Create:
        // Kept at once so that every operation can address the controls, also when the
        // registration for device notices fails later.
        Shell.mainWindow = window;
        CreateControls(window);
        return 0;
    case msg::Destroy:
        // A graph left to the end of the process keeps the renderer and its drawing threads alive
        // while the process is torn down, and an internal video window would go with the main
        // window under the renderer's feet: under Wine the process then died now and then (exit
        // codes 139 and 137 instead of 0). Released here, the graph stops and takes them along.
        ReleasePreviewGraph();
        // The other cameras' bindings go too, while the media framework is surely still there:
        // after a day of cameras coming and going nothing the tool bound is left to the process
        // end.
        ReleaseCaptureFilters();
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
    case kPrintKeyReleasedMessage:
        // Several releases queued during one wait restart the one timer: one picture after it.
        StartPrintKeyTimer();
        return 0;
    case msg::DeviceChange:
        // The rescan leaves the preview graph alone, but a graph whose camera was pulled out
        // shows nothing and holds its last frame: "Capture Image" would write that old frame, or
        // wait in vain for a first one, long after the camera came back.
        if (wParam == dbt::DeviceRemoveComplete || wParam == dbt::DeviceArrival)
            ClosePreviewOfLostCamera();
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

void CaptureImage() {
    if (PreviewState() != kPreviewRunning) {
        TogglePreview(Shell.selectedCamera);
        SleepFor(250);
    }
    // CaptureOnStart's capture comes 100 ms after the graph first runs, and a camera's first frame
    // can take longer than that (up to 118 ms seen under Wine): an unattended run would then end
    // with code 0 and no picture. A frame that is already there costs no wait.
    WaitForFirstFrame(kFirstFrameWaitMs);
    CaptureStill();
}
