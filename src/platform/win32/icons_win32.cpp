// The tool's icon: on the window class (large and small) and as a window's small icon.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {

Icon LoadAppIcon(Instance instance, int iconResource) {
    return reinterpret_cast<Icon>(
        LoadIconA(win32::ToHinstance(instance), MAKEINTRESOURCEA(iconResource)));
}

void SetClassIcons(Window window, Instance instance, int iconResource) {
    HWND hwnd = win32::ToHwnd(window);
    HINSTANCE module = win32::ToHinstance(instance);
    SetClassLongPtrA(hwnd, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(LoadIconA(module, MAKEINTRESOURCEA(iconResource))));
    SetClassLongPtrA(hwnd, GCLP_HICONSM,
                     reinterpret_cast<LONG_PTR>(LoadIconA(module, MAKEINTRESOURCEA(iconResource))));
}

void SetSmallIcon(Window window, Icon icon) {
    SendMessageA(win32::ToHwnd(window), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

} // namespace platform
