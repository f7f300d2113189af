// The main window's procedure and the two small operations that other parts call.
#pragma once

#include "platform/types.h"

intptr_t MainWindowProcedure(platform::Window window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam);
// The Preview button's caption from the preview state: "Preview" stopped, "Stop" running.
void UpdatePreviewButton();
// One still capture, starting the preview first when it does not run.
void CaptureImage();
