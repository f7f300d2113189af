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

// How long one request to the tool may take before the driver gives up on it.
constexpr UINT kSendTimeoutMs = 5000;

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
// WM_GETTEXT through Send; empty when it fails.
std::string TextOf(HWND window);
std::string ClassOf(HWND window);
// Tabs and line ends shown as \t, \n, \r so that one window stays one output line.
std::string Escaped(const std::string& text);

} // namespace driver
