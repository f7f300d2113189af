// Finding and asking the windows of another process: every request to a foreign window goes
// through SendMessageTimeout, so that a modal box in the tool never hangs the driver.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
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

// The top-level window with exactly that title; message boxes (#32770) only when boxes is true.
HWND FindTopLevel(const std::string& title, bool boxes);
// Waits up to timeoutMs for FindTopLevel; null after the time-out.
HWND WaitTopLevel(const std::string& title, bool boxes, DWORD timeoutMs);
// The direct children of a window in sibling order (creation order).
std::vector<HWND> ChildrenOf(HWND parent);
// The child with that control identifier, or null.
HWND ChildWithId(HWND parent, int id);

// SendMessageTimeout; false when the send failed or timed out (result untouched then).
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// SendMessageTimeout that waits for the receiving thread however busy it is, up to
// kHandlerTimeoutMs; false when it failed or timed out (result untouched then).
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
// WM_GETTEXT through SendAndWait; false (and the reason on stderr) when it was not answered.
bool AskText(HWND window, std::string* text);
// AskText's text, or empty when it was not answered.
std::string TextOf(HWND window);
// The hook procedure `proc` of `dll` (a file beside driver.exe) installed as WH_CALLWNDPROC on the
// thread of window, or null (the reason on stderr). Wine loads the DLL into the tool's process.
HHOOK HookToolThread(HWND window, const char* dll, const char* proc);
std::string ClassOf(HWND window);
// Tabs and line ends shown as \t, \n, \r so that one window stays one output line.
std::string Escaped(const std::string& text);

} // namespace driver
