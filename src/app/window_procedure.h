// The main window's procedure, and the still capture that the button and the timers share.
#pragma once

#include "platform/types.h"

intptr_t MainWindowProcedure(platform::Window window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam);
// One still capture, starting the preview first when it does not run.
void CaptureImage();
