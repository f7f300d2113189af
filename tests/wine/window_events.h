// What window_events_hook.dll (inside the tool) and driver.exe's watch-window agree on: the
// receiver window's class, and the messages posted to it (wParam the window, lParam the tick
// count).
#pragma once

#include <windows.h>

constexpr const char* kWindowEventsReceiverClass = "framewright_window_events";
constexpr UINT kEventMinimised = WM_APP + 1;
constexpr UINT kEventRestored = WM_APP + 2;
constexpr UINT kEventHidden = WM_APP + 3;
constexpr UINT kEventShown = WM_APP + 4;
