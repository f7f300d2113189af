// tool_hooks.dll's small hooks (text_fit_hook.cpp holds the fourth).
//
// StatusHookProc (send-watched): while a handler keeps the tool's thread busy (the camera rescan
// sleeps between its progress texts), the tool answers no message, so nothing outside can ask the
// status bar for its text. The hook appends every text given to a status bar, with the tick count,
// to the file named by FRAMEWRIGHT_STATUS_LOG in the tool's environment.
//
// WindowEventsHookProc (watch-window): the tool minimises and restores its main window within one
// handler, and under Wine with openbox the window manager's late answer may minimise it once more:
// polling from outside sees neither reliably. The hook posts every minimise, restore, hide and show
// of a top-level window to the driver's receiver window as it is sent.
//
// TimerProbeHookProc (wait-timers): on the probe message the hook starts a thread timer of its
// own; the thread's timers come due in the order of their due times, so when the probe's timer
// runs, every timer of the tool that was due no later has been handled, its handler included. The
// probe's timer then sets the driver's event.
#include "tool_hooks.h"

#include <commctrl.h>
#include <cstdio>
#include <cstring>

namespace {

bool IsStatusBar(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, STATUSCLASSNAMEA) == 0;
}

// One line per text: "TICKS<tab>TEXT\n", the file opened and closed each time so that a reader
// sees every line as soon as it is written. The tool sets its status texts with SetWindowTextA,
// which arrives here as ANSI text.
void RecordStatus(const CWPSTRUCT& sent) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("FRAMEWRIGHT_STATUS_LOG", path, sizeof path);
    if (sent.message != WM_SETTEXT || !IsStatusBar(sent.hwnd) || length == 0 ||
        length >= sizeof path)
        return;
    const char* text = reinterpret_cast<const char*>(sent.lParam);
    if (FILE* file = std::fopen(path, "ab")) {
        std::fprintf(file, "%lu\t%s\n", GetTickCount(), text ? text : "");
        std::fclose(file);
    }
}

void ReportWindowEvent(const CWPSTRUCT& sent) {
    if (GetWindowLongA(sent.hwnd, GWL_STYLE) & WS_CHILD)
        return;
    UINT event = 0;
    if (sent.message == WM_SHOWWINDOW)
        event = sent.wParam ? kEventShown : kEventHidden;
    else if (sent.message == WM_SIZE && sent.wParam == SIZE_MINIMIZED)
        event = kEventMinimised;
    else if (sent.message == WM_SIZE && sent.wParam == SIZE_RESTORED)
        event = kEventRestored;
    HWND receiver = event ? FindWindowA(kWindowEventsReceiverClass, nullptr) : nullptr;
    if (receiver)
        PostMessageA(receiver, event, reinterpret_cast<WPARAM>(sent.hwnd),
                     static_cast<LPARAM>(GetTickCount()));
}

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

void StartProbeTimer(const CWPSTRUCT& sent) {
    static const UINT probe = RegisterWindowMessageA(kTimerProbeMessage);
    if (sent.message != probe)
        return;
    WaitingDriver = static_cast<DWORD>(sent.lParam);
    SetTimer(nullptr, 0, static_cast<UINT>(sent.wParam), ProbeTimerDue);
}

} // namespace

TOOL_HOOK(StatusHookProc, RecordStatus)
TOOL_HOOK(WindowEventsHookProc, ReportWindowEvent)
TOOL_HOOK(TimerProbeHookProc, StartProbeTimer)
