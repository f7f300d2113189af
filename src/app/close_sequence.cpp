#include "app/handlers.h"
#include "app/print_key_hook.h"
#include "app/window_procedure.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "panel/preview_button.h"
#include "platform/constants.h"
#include "platform/window_system.h"
#include "settings/settings_file.h"

using namespace platform;

void CloseSequence(bool minimiseRule) {
    if (minimiseRule && General.UseMinMaxOnPrintKey == 1) {
        StopPreview();
        UpdatePreviewButton();
        ShowWindowAs(Shell.mainWindow, sw::Minimize);
        return;
    }
    if (SettingsChanged && ShowMessageBox(Shell.mainWindow, "Exit Saving Changes", "Event",
                                          mb::YesNo | mb::IconQuestion) == mb::AnswerYes)
        SaveSettings(SettingsPath());
    if (General.UsePrintKeyToCaptureImages == 1)
        RemovePrintKeyHook();
    DestroyWindowNow(Shell.mainWindow);
}
