// The screen's DPI.
#include "platform/win32/windows_headers_win32.h"

#include "platform/window_system.h"

namespace platform {

int ScreenDpi() {
    // LOGPIXELSY of the screen answers on every Windows version the tool runs on (GetDpiForSystem
    // needs Windows 10 1607). A process that is not DPI-aware gets 96 here.
    HDC screen = GetDC(nullptr);
    if (!screen)
        return 96;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

} // namespace platform
