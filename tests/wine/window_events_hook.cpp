// window_events_hook.dll: a window-procedure hook that driver.exe's watch-window installs on the
// tool's thread. The tool minimises and restores its main window within one handler, and under
// Wine with openbox the window manager's late answer may minimise it once more: polling from
// outside sees neither reliably. The hook sees every minimise, restore, hide and show as it is
// sent to a top-level window's procedure and posts it to the driver's receiver window at once.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "window_events.h"

namespace {

void Report(UINT event, HWND window) {
    if (HWND receiver = FindWindowA(kWindowEventsReceiverClass, nullptr))
        PostMessageA(receiver, event, reinterpret_cast<WPARAM>(window),
                     static_cast<LPARAM>(GetTickCount()));
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    WindowEventsHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (!(GetWindowLongA(sent->hwnd, GWL_STYLE) & WS_CHILD)) {
            if (sent->message == WM_SIZE && sent->wParam == SIZE_MINIMIZED)
                Report(kEventMinimised, sent->hwnd);
            else if (sent->message == WM_SIZE && sent->wParam == SIZE_RESTORED)
                Report(kEventRestored, sent->hwnd);
            else if (sent->message == WM_SHOWWINDOW)
                Report(sent->wParam ? kEventShown : kEventHidden, sent->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
