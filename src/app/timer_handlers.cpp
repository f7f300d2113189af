// The three one-shot timers: the preview at start, the Print key, and the capture sequence.
#include "app/handlers.h"
#include "app/print_key_hook.h"
#include "app/window_procedure.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "panel/main_window.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"

using namespace platform;

namespace {

void CaptureSequence() {
    StopTimer(Shell.mainWindow, IDT_CAPTURE);
    CaptureImage();
    StopPreview();
    // A negative review time would be a wait of weeks: it counts as none.
    SleepFor(General.ReviewTimeMs > 0 ? static_cast<uint32_t>(General.ReviewTimeMs) : 0);
    if (General.HideAppWhenInactive == 1) {
        ShowWindowAs(Shell.mainWindow, sw::Hide);
    } else if (General.UseMinMaxOnPrintKey == 1) {
        ShowWindowAs(Shell.mainWindow, sw::Minimize);
        RunPreview();
    } else {
        RunPreview();
    }
    if (General.ExitOnCapture == 1) {
        if (General.UsePrintKeyToCaptureImages == 1)
            RemovePrintKeyHook();
        DestroyWindowNow(Shell.mainWindow);
    }
}

void PrintKeyPressed() {
    StopTimer(Shell.mainWindow, IDT_PRINTKEY);
    if (General.HideAppWhenInactive == 1) {
        RunPreview();
        MinimiseAndRestore();
    } else if (General.UseMinMaxOnPrintKey == 1) {
        RunPreview();
        ShowWindowAs(Shell.mainWindow, sw::Restore);
    }
    StartTimer(Shell.mainWindow, IDT_CAPTURE, 100);
}

} // namespace

void HandleTimer(uintptr_t id) {
    switch (id) {
    case IDT_PREVIEW:
        StopTimer(Shell.mainWindow, IDT_PREVIEW);
        TogglePreview(Shell.selectedCamera);
        return;
    case IDT_PRINTKEY:
        PrintKeyPressed();
        return;
    case IDT_CAPTURE:
        CaptureSequence();
        return;
    default:
        return;
    }
}
