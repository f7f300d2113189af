// The console's stop requests for a program that runs until it is asked to stop. The system calls
// the handler on a thread of its own; the program's state belongs to its main thread, so the
// handler only posts the request to the main thread's window and waits until it has been served:
// after a close, a logoff or a shutdown the system ends the process as soon as the handler
// returns (or after its own time-out, 5 s for a close), and the program's last line must be out
// by then.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {
namespace {

// Below the system's own 5 s for a closed console, so that the handler's answer still counts.
constexpr DWORD kServeWaitMs = 4000;

HWND stopWindow = nullptr;
UINT stopMessage = 0;
HANDLE served = nullptr;

BOOL WINAPI OnConsoleStop(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        if (!PostMessageA(stopWindow, stopMessage, static_cast<WPARAM>(event), 0))
            return FALSE; // the window is gone: the system's own handling ends the process
        WaitForSingleObject(served, kServeWaitMs);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool InstallConsoleStopHandler(Window window, uint32_t message) {
    if (!served)
        served = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    stopWindow = win32::ToHwnd(window);
    stopMessage = message;
    return served && SetConsoleCtrlHandler(OnConsoleStop, TRUE) != FALSE;
}

void ConsoleStopServed() {
    if (served)
        SetEvent(served);
}

} // namespace platform
