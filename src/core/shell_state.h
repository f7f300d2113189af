// The process-wide state of the shell: instance, main window, control font, the cameras found,
// the selected camera and the Print-key hook.
#pragma once

#include "platform/types.h"

struct ShellState {
    platform::Instance instance = nullptr;
    platform::Window mainWindow = nullptr;
    platform::Font controlFont = nullptr;
    int camerasFound = 0;
    int selectedCamera = -1; // -1 while no camera has been found
    platform::Hook hook = nullptr;
};

extern ShellState Shell;
