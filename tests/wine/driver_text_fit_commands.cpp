// text-fit: the tool's screen DPI and its manifest's DPI setting, and for each control with a text
// the font it draws with and the room its text needs against the room it has, measured inside the
// tool by text_fit_hook.dll (the format is described there).
#include "driver_commands.h"
#include "driver_windows.h"
#include "text_fit.h"

#include <cstdio>

namespace driver {

int TextFit(const std::string& title) {
    HWND window = FindTopLevel(title, false);
    if (!window) {
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    const DWORD self = GetCurrentProcessId();
    char name[64];
    std::snprintf(name, sizeof name, kTextFitMappingFormat, static_cast<unsigned long>(self));
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        kTextFitReportBytes, name);
    if (!mapping) {
        std::fprintf(stderr, "CreateFileMapping failed: %lu\n", GetLastError());
        return 1;
    }
    auto* report =
        static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kTextFitReportBytes));
    HHOOK hook = report ? HookToolThread(window, "text_fit_hook.dll", "TextFitHookProc") : nullptr;
    // The hook runs on the tool's thread before the window procedure, so the report is written
    // when the send returns.
    const bool sent = hook && SendAndWait(window, RegisterWindowMessageA(kTextFitMessage), 0,
                                          static_cast<LPARAM>(self), nullptr);
    if (hook)
        UnhookWindowsHookEx(hook);
    // A fresh mapping is all zeros: an empty report means that the hook did not write.
    const bool written = sent && report[0] != '\0';
    if (written)
        std::fputs(report, stdout);
    else
        std::fprintf(stderr, "no report from the tool (sent %d)\n", sent ? 1 : 0);
    if (report)
        UnmapViewOfFile(report);
    CloseHandle(mapping);
    return written ? 0 : 1;
}

} // namespace driver
