// The message loop, timers and message boxes.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {

int RunMessageLoop() {
    MSG message = {};
    // GetMessage gives -1 on an invalid call; the loop then ends as at WM_QUIT rather than spin.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void StartTimer(Window window, uintptr_t id, uint32_t milliseconds) {
    SetTimer(win32::ToHwnd(window), static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

bool PostToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return PostMessageA(win32::ToHwnd(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam)) != FALSE;
}

void StopTimer(Window window, uintptr_t id) {
    KillTimer(win32::ToHwnd(window), static_cast<UINT_PTR>(id));
}

int ShowMessageBox(Window owner, const char* text, const char* caption, uint32_t flags) {
    return MessageBoxA(win32::ToHwnd(owner), text, caption, flags);
}

} // namespace platform
