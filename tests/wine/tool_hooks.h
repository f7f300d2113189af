// What driver.exe and tool_hooks.dll agree on. The driver installs one of the DLL's procedures as
// a WH_CALLWNDPROC hook on the tool's thread (HookToolThread), and Wine loads the DLL into the
// tool's process: the hook sees every message sent to the tool's windows there, before the window
// procedure does.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// One exported hook procedure: `see` looks at each message sent to a window of the tool's thread.
#define TOOL_HOOK(name, see)                                                                       \
    extern "C" __declspec(dllexport) LRESULT CALLBACK name(int code, WPARAM wParam,                \
                                                           LPARAM lParam) {                        \
        if (code == HC_ACTION)                                                                     \
            see(*reinterpret_cast<const CWPSTRUCT*>(lParam));                                      \
        return CallNextHookEx(nullptr, code, wParam, lParam);                                      \
    }

// watch-window (WindowEventsHookProc): the receiver window's class, and the messages posted to it
// (wParam the window, lParam the tick count).
constexpr const char* kWindowEventsReceiverClass = "framewright_window_events";
constexpr UINT kEventMinimised = WM_APP + 1;
constexpr UINT kEventRestored = WM_APP + 2;
constexpr UINT kEventHidden = WM_APP + 3;
constexpr UINT kEventShown = WM_APP + 4;

// wait-timers (TimerProbeHookProc): the registered message the driver sends to the tool's main
// window, WPARAM the probe timer's period in milliseconds, LPARAM the driver's process id; the
// event the probe timer sets, with the driver's process id in the name.
constexpr char kTimerProbeMessage[] = "FramewrightDriverTimerProbe";
constexpr char kTimerProbeEventFormat[] = "FramewrightDriverTimerProbe-%lu";

// text-fit (TextFitHookProc): the registered message the driver sends to the tool's main window,
// LPARAM the driver's process id; the report is complete when the send returns. The shared memory
// the driver creates for it, with its process id in the name: one NUL-terminated text of at most
// kTextFitReportBytes.
constexpr char kTextFitMessage[] = "FramewrightDriverTextFit";
constexpr char kTextFitMappingFormat[] = "FramewrightDriverTextFit-%lu";
constexpr unsigned kTextFitReportBytes = 64 * 1024;
