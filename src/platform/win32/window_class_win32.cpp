// The main window's class: the logic's window procedure is reached through one thunk, because
// the logic's procedure speaks in opaque handles and fixed-width integers rather than HWND and
// WPARAM.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {
namespace {

// One window class per process is all the tool registers, so one procedure suffices.
WindowProcedure registeredProcedure = nullptr;

LRESULT CALLBACK ProcedureThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!registeredProcedure)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return static_cast<LRESULT>(registeredProcedure(win32::FromHwnd(hwnd), message,
                                                    static_cast<uintptr_t>(wParam),
                                                    static_cast<intptr_t>(lParam)));
}

} // namespace

bool RegisterWindowClass(Instance instance, const char* className, WindowProcedure procedure,
                         uint32_t classStyle, int iconResource) {
    registeredProcedure = procedure;
    HINSTANCE module = win32::ToHinstance(instance);
    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = ProcedureThunk;
    windowClass.hInstance = module;
    windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(iconResource));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

intptr_t DefaultProcedure(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return static_cast<intptr_t>(DefWindowProcA(
        win32::ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

} // namespace platform
