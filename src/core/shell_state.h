// The process-wide state of the shell: instance, main window, control font, the cameras found,
// the selected camera, the Print-key hook and the screen's DPI that the window was made for.
#pragma once

#include "platform/types.h"

struct ShellState {
    platform::Instance instance = nullptr;
    platform::Window mainWindow = nullptr;
    platform::Font controlFont = nullptr;
    int camerasFound = 0;
    int selectedCamera = -1; // -1 while no camera has been found
    platform::Hook hook = nullptr;
    int dpi = 96; // the screen's DPI at start-up; the layout, the font and the window follow it
};

extern ShellState Shell;
