// Subcommands that ask the tool's own thread through a hook DLL loaded into the tool.
//
// wait-timers returns once every timer of the tool that comes due within a given time from now
// has been handled. A test that checks that a timer's work did NOT happen (no capture after a
// restarted preview) waits for this instead of for a guessed time.
//
// text-fit prints the tool's screen DPI and its manifest's DPI setting, and for each control with
// a text the font it draws with and the room its text needs against the room it has, measured
// inside the tool by TextFitHookProc (the format is described in text_fit_hook.cpp).
#include "driver_commands.h"
#include "driver_windows.h"
#include "tool_hooks.h"

#include <cstdio>

namespace driver {

int WaitTimers(HWND window, unsigned long periodMs) {
    const DWORD self = GetCurrentProcessId();
    char name[64];
    std::snprintf(name, sizeof name, kTimerProbeEventFormat, static_cast<unsigned long>(self));
    HANDLE due = CreateEventA(nullptr, TRUE, FALSE, name);
    if (!due)
        return Fail("CreateEvent failed: %lu\n", GetLastError());
    Hook hook = HookToolThread(window, "TimerProbeHookProc");
    const ULONGLONG start = GetTickCount64();
    // The hook starts the probe timer when the tool's thread takes this message, that is after
    // the handler running now (which may start a timer of the tool) has returned.
    const bool sent = hook && SendAndWait(window, RegisterWindowMessageA(kTimerProbeMessage),
                                          periodMs, static_cast<LPARAM>(self));
    const DWORD waited =
        sent ? WaitForSingleObject(due, kHandlerTimeoutMs + periodMs) : WAIT_FAILED;
    // Unhooked only after the probe ran (or the wait failed): the hook's DLL holds its timer.
    hook.reset();
    CloseHandle(due);
    if (!sent || waited != WAIT_OBJECT_0)
        return Fail("the probe timer did not come (sent %d, wait %lu)\n", sent ? 1 : 0, waited);
    return Reply("timers due within %lu ms handled (%llu ms)\n", periodMs,
                 static_cast<unsigned long long>(GetTickCount64() - start));
}

int TextFit(HWND window) {
    const DWORD self = GetCurrentProcessId();
    char name[64];
    std::snprintf(name, sizeof name, kTextFitMappingFormat, static_cast<unsigned long>(self));
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        kTextFitReportBytes, name);
    if (!mapping)
        return Fail("CreateFileMapping failed: %lu\n", GetLastError());
    auto* report =
        static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kTextFitReportBytes));
    Hook hook = HookToolThread(window, "TextFitHookProc");
    // The hook runs on the tool's thread before the window procedure, so the report is written
    // when the send returns.
    const bool sent =
        report && hook &&
        SendAndWait(window, RegisterWindowMessageA(kTextFitMessage), 0, static_cast<LPARAM>(self));
    hook.reset();
    // A fresh mapping is all zeros: an empty report means that the hook did not write.
    const bool written = sent && report[0] != '\0';
    if (written)
        std::fputs(report, stdout);
    else
        Fail("no report from the tool (sent %d)\n", sent ? 1 : 0);
    if (report)
        UnmapViewOfFile(report);
    CloseHandle(mapping);
    return written ? 0 : 1;
}

} // namespace driver
