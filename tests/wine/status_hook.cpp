// status_hook.dll: a window-procedure hook that driver.exe installs on the tool's thread. While a
// handler keeps that thread busy (the camera rescan sleeps between its progress texts), the tool
// answers no message, so nothing outside can ask the status bar for its text. The hook runs inside
// the tool instead and appends every text given to a status bar, with the tick count, to the file
// named by FRAMEWRIGHT_STATUS_LOG in the tool's environment.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

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
// sees every line as soon as it is written.
void Record(const char* text) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("FRAMEWRIGHT_STATUS_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    if (FILE* file = std::fopen(path, "ab")) {
        std::fprintf(file, "%lu\t%s\n", GetTickCount(), text ? text : "");
        std::fclose(file);
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    StatusHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // The tool sets its status texts with SetWindowTextA, which arrives here as ANSI text.
        if (sent->message == WM_SETTEXT && IsStatusBar(sent->hwnd))
            Record(reinterpret_cast<const char*>(sent->lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
