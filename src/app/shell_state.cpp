#include "app/shell_state.h"

#include "platform/constants.h"
#include "platform/window_system.h"

ShellState Shell;

platform::Window ControlOf(int id) {
    return platform::FindControl(Shell.mainWindow, id);
}

void MinimiseAndRestore() {
    platform::ShowWindowAs(Shell.mainWindow, platform::sw::Minimize);
    platform::ShowWindowAs(Shell.mainWindow, platform::sw::Restore);
}
