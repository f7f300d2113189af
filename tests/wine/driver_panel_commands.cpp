// Subcommands for the panel at work: clicks whose handler opens a modal box, waiting for a box to
// close, and messages sent to the main window, optionally with the tool's status texts recorded
// while the handler runs.
#include "driver_commands.h"
#include "driver_windows.h"

#include <cstdio>
#include <cstring>

namespace driver {
namespace {

// The window-procedure hook of status_hook.dll on the thread of window, or null.
HHOOK HookStatusTexts(HWND window) {
    return HookToolThread(window, "status_hook.dll", "StatusHookProc");
}

} // namespace

int Press(const std::string& title, int id) {
    HWND window = FindTopLevel(title, false);
    HWND control = window ? ChildWithId(window, id) : nullptr;
    if (!control) {
        std::fprintf(stderr, "no control %d in \"%s\"\n", id, title.c_str());
        return 1;
    }
    // Refused for the same reason as click: an operator cannot press what is hidden or disabled.
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        std::fprintf(stderr, "control %d is hidden or disabled\n", id);
        return 1;
    }
    // Posted, so the driver returns at once while the handler waits in its box.
    if (!PostMessageA(control, BM_CLICK, 0, 0)) {
        std::fprintf(stderr, "BM_CLICK failed: %lu\n", GetLastError());
        return 1;
    }
    std::printf("pressed %d\n", id);
    return 0;
}

int WaitNoBox(const std::string& caption, unsigned long timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    while (FindTopLevel(caption, true)) {
        if (GetTickCount64() - start >= timeoutMs) {
            std::fprintf(stderr, "box \"%s\" still open\n", caption.c_str());
            return 1;
        }
        Sleep(20);
    }
    std::printf("no box\n");
    return 0;
}

int Send(const std::string& title, unsigned long message, unsigned long long wParam,
         long long lParam, bool watchStatus) {
    HWND window = FindTopLevel(title, false);
    if (!window) {
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    HHOOK hook = nullptr;
    if (watchStatus && !(hook = HookStatusTexts(window)))
        return 1;
    // Sent, not posted: Windows and Wine refuse to post WM_DEVICECHANGE (ERROR_MESSAGE_SYNC_ONLY).
    DWORD_PTR answer = 0;
    const BOOL sent =
        SendMessageTimeoutA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                            static_cast<LPARAM>(lParam), SMTO_NORMAL, kHandlerTimeoutMs, &answer);
    const DWORD error = GetLastError();
    if (hook)
        UnhookWindowsHookEx(hook);
    if (!sent) {
        std::fprintf(stderr, "SendMessageTimeout failed: %lu\n", error);
        return 1;
    }
    std::printf("sent 0x%lx: %lld\n", message, static_cast<long long>(answer));
    return 0;
}

} // namespace driver
