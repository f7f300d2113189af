#include "panel/main_window.h"

#include "core/shell_state.h"
#include "platform/constants.h"
#include "platform/window_system.h"

platform::Window ControlOf(int id) {
    return platform::FindControl(Shell.mainWindow, id);
}

void MinimiseAndRestore() {
    platform::ShowWindowAs(Shell.mainWindow, platform::sw::Minimize);
    platform::ShowWindowAs(Shell.mainWindow, platform::sw::Restore);
}
