#include "app/shell_state.h"

#include "platform/window_system.h"

ShellState Shell;

platform::Window ControlOf(int id) {
    return platform::FindControl(Shell.mainWindow, id);
}
