// timer_probe_hook.dll: a window-procedure hook that driver.exe's wait-timers installs on the
// tool's thread, to learn when a timer the tool may have started has had its turn. On the probe
// message the hook starts a thread timer of its own; the thread's timers come due in the order of
// their due times, so when the probe's timer runs, every timer of the tool that was due no later
// has been handled, its handler included. The probe's timer then sets the driver's event.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "timer_probe.h"

#include <cstdio>

namespace {

// The driver waiting for the probe (one probe at a time runs on a thread).
DWORD WaitingDriver = 0;

void CALLBACK ProbeTimerDue(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    char name[64];
    std::snprintf(name, sizeof name, kTimerProbeEventFormat, WaitingDriver);
    if (HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
        SetEvent(event);
        CloseHandle(event);
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    TimerProbeHookProc(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probe = RegisterWindowMessageA(kTimerProbeMessage);
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent->message == probe) {
            WaitingDriver = static_cast<DWORD>(sent->lParam);
            SetTimer(nullptr, 0, static_cast<UINT>(sent->wParam), ProbeTimerDue);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
