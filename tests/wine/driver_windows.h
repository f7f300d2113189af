// Finding and asking the windows of another process: every request to a foreign window goes
// through SendMessageTimeout, so that a modal box in the tool never hangs the driver.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace driver {

// How long a quick request to the tool (a check state, a trackbar position) may take before the
// driver gives up on it.
constexpr UINT kSendTimeoutMs = 5000;
// How long the driver waits for a request that must be answered by the tool's thread itself: a
// click, a slider notice, a caption. Under Wine a sent message that the receiving thread has not
// taken when the time-out expires is taken out of its queue again (and SMTO_ABORTIFHUNG gives up at
// once on a thread busy for 5 s): a short time-out while a handler sleeps loses the request
// silently. The slowest handler a test waits for is the rescan after an arrival (about 3 s).
constexpr UINT kHandlerTimeoutMs = 60000;

// The message on stderr; returns a subcommand's failure code, 1.
int Fail(const char* format, ...);
// The message on stdout; returns a subcommand's success code, 0.
int Reply(const char* format, ...);

// Polls ready() every 20 ms until it holds (true) or timeoutMs have passed (false).
template <class Ready> bool WaitUntil(ULONGLONG timeoutMs, Ready ready) {
    for (const ULONGLONG start = GetTickCount64(); !ready(); Sleep(20))
        if (GetTickCount64() - start >= timeoutMs)
            return false;
    return true;
}

// With a null parent the top-level windows, otherwise every descendant of parent at any depth,
// each followed by its own descendants (from the desktop window: every window there is).
std::vector<HWND> WindowsUnder(HWND parent);
// The direct children of a window in sibling order (creation order).
std::vector<HWND> ChildrenOf(HWND parent);
// The top-level window with exactly that title; message boxes (#32770) only when boxes is true.
HWND FindTopLevel(const std::string& title, bool boxes);
// Waits up to timeoutMs for FindTopLevel; null after the time-out.
HWND WaitTopLevel(const std::string& title, bool boxes, DWORD timeoutMs);
// The tool's main window by title, or null with the reason on stderr.
HWND MainWindow(const std::string& title);
// The control with that id in the window, or null with the reason on stderr. An operator can
// neither click nor drag a disabled or hidden control, and Wine's buttons would still act on
// BM_CLICK when disabled (check themselves and notify the parent, which Windows' disabled buttons
// never do), so the driver refuses instead of pretending a click that could not happen.
HWND ReachableControl(HWND window, int id);

// SendMessageTimeout; false when the send failed or timed out (result untouched then).
bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeoutMs,
                LRESULT* result);
// A quick request: gives up after kSendTimeoutMs or on a hung thread.
inline bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT* result = nullptr) {
    return SendWithin(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, result);
}
// Waits for the receiving thread however busy it is, up to timeoutMs.
inline bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result = nullptr, UINT timeoutMs = kHandlerTimeoutMs) {
    return SendWithin(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, result);
}
// WM_GETTEXT through SendAndWait; false (and the reason on stderr) when it was not answered.
bool AskText(HWND window, std::string* text);
// AskText's text, or empty when it was not answered.
std::string TextOf(HWND window);
// A window's caption read without sending to it (GetWindowText of a foreign top-level window).
std::string CaptionOf(HWND window);
std::string ClassOf(HWND window);
// Tabs and line ends shown as \t, \n, \r so that one window stays one output line.
std::string Escaped(const std::string& text);

// Removes its hook when it goes.
using Hook = std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)>;
// The hook procedure `proc` of tool_hooks.dll (beside driver.exe) installed as WH_CALLWNDPROC on
// the thread of window, or null (the reason on stderr). Wine loads the DLL into the tool's process.
Hook HookToolThread(HWND window, const char* proc);

} // namespace driver
