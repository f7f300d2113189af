// The common controls library: the trackbars and the status bar live there.
#include "platform/win32/windows_headers_win32.h"

#include <commctrl.h>

#include "platform/window_system.h"

namespace platform {

void InitializeCommonControls() {
    // Trackbars and the status bar are in the "bar" class set; the manifest selects version 6.
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    if (!InitCommonControlsEx(&classes))
        InitCommonControls();
}

} // namespace platform
