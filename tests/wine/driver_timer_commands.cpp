// wait-timers: returns once every timer of the tool that comes due within a given time from now
// has been handled. A test that checks that a timer's work did NOT happen (no capture after a
// restarted preview) waits for this instead of for a guessed time.
#include "driver_commands.h"
#include "driver_windows.h"
#include "timer_probe.h"

#include <cstdio>

namespace driver {

int WaitTimers(const std::string& title, unsigned long periodMs) {
    HWND window = FindTopLevel(title, false);
    if (!window) {
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    const DWORD self = GetCurrentProcessId();
    char name[64];
    std::snprintf(name, sizeof name, kTimerProbeEventFormat, static_cast<unsigned long>(self));
    HANDLE due = CreateEventA(nullptr, TRUE, FALSE, name);
    if (!due) {
        std::fprintf(stderr, "CreateEvent failed: %lu\n", GetLastError());
        return 1;
    }
    HHOOK hook = HookToolThread(window, "timer_probe_hook.dll", "TimerProbeHookProc");
    if (!hook) {
        CloseHandle(due);
        return 1;
    }
    const ULONGLONG start = GetTickCount64();
    // The hook starts the probe timer when the tool's thread takes this message, that is after
    // the handler running now (which may start a timer of the tool) has returned.
    const bool sent = SendAndWait(window, RegisterWindowMessageA(kTimerProbeMessage), periodMs,
                                  static_cast<LPARAM>(self), nullptr);
    const DWORD waited =
        sent ? WaitForSingleObject(due, kHandlerTimeoutMs + periodMs) : WAIT_FAILED;
    // Unhooked only after the probe ran (or the wait failed): the hook's DLL holds its timer.
    UnhookWindowsHookEx(hook);
    CloseHandle(due);
    if (!sent || waited != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the probe timer did not come (sent %d, wait %lu)\n", sent ? 1 : 0,
                     waited);
        return 1;
    }
    std::printf("timers due within %lu ms handled (%llu ms)\n", periodMs,
                static_cast<unsigned long long>(GetTickCount64() - start));
    return 0;
}

} // namespace driver
