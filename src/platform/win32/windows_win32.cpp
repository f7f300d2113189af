// Creating, showing, finding and destroying windows, and their text and client rectangle.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {

Window CreateWindowWith(uint32_t exStyle, const char* className, const char* text, uint32_t style,
                        int x, int y, int width, int height, Window parent, int id,
                        Instance instance) {
    // A child's menu argument carries its control identifier; a top-level window has no menu.
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    return win32::FromHwnd(CreateWindowExA(exStyle, className, text, style, x, y, width, height,
                                           win32::ToHwnd(parent), menu,
                                           win32::ToHinstance(instance), nullptr));
}

void ShowWindowAs(Window window, int command) {
    ShowWindow(win32::ToHwnd(window), command);
}

void RepaintNow(Window window) {
    // UpdateWindow alone paints only what is pending, and Wine then leaves the group boxes
    // (WS_EX_TRANSPARENT, not clipped out of the main window's background) erased by the main
    // window's background. Invalidating the children with it repaints them after the background,
    // here and on Windows alike.
    RedrawWindow(win32::ToHwnd(window), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void EnableControl(Window window, bool enable) {
    EnableWindow(win32::ToHwnd(window), enable ? TRUE : FALSE);
}

void DestroyWindowNow(Window window) {
    DestroyWindow(win32::ToHwnd(window));
}

void PostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

Window FindControl(Window parent, int id) {
    return win32::FromHwnd(GetDlgItem(win32::ToHwnd(parent), id));
}

Rect ClientRect(Window window) {
    RECT rect = {};
    Rect result;
    if (!GetClientRect(win32::ToHwnd(window), &rect))
        return result;
    result.left = rect.left;
    result.top = rect.top;
    result.right = rect.right;
    result.bottom = rect.bottom;
    return result;
}

void SetText(Window window, const char* text) {
    SetWindowTextA(win32::ToHwnd(window), text);
}

std::string GetText(Window window) {
    HWND hwnd = win32::ToHwnd(window);
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

} // namespace platform
