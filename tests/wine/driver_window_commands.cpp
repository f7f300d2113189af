// Subcommands about the tool's main window: waiting for it, its controls, and acting on them.
#include "driver_commands.h"
#include "driver_windows.h"

#include <commctrl.h>
#include <cstdio>

namespace driver {
namespace {

HWND MainWindowOrComplain(const std::string& title) {
    HWND window = FindTopLevel(title, false);
    if (!window)
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
    return window;
}

HWND ControlOrComplain(HWND parent, int id) {
    HWND control = ChildWithId(parent, id);
    if (!control)
        std::fprintf(stderr, "no control with id %d\n", id);
    return control;
}

// An operator can neither click nor drag a disabled or hidden control. Wine's buttons would still
// act on BM_CLICK when disabled (check themselves and notify the parent, which Windows' disabled
// buttons never do), so the driver refuses instead of pretending a click that could not happen.
bool ReachableOrComplain(HWND control, int id) {
    if (!IsWindowVisible(control)) {
        std::fprintf(stderr, "control %d is hidden\n", id);
        return false;
    }
    if (!IsWindowEnabled(control)) {
        std::fprintf(stderr, "control %d is disabled\n", id);
        return false;
    }
    return true;
}

// One value asked of a control, or "-" when the send fails.
std::string Asked(HWND control, UINT message) {
    LRESULT answer = 0;
    if (!Send(control, message, 0, 0, &answer))
        return "-";
    return std::to_string(static_cast<long long>(answer));
}

// The number of the last click whose handler answered. A click that returned before its answer
// (the handler opened a box, or ended the tool) is still answered later, inside a later command's
// wait in a serving driver: the callback's data is the click's number, never a pointer into a
// stack frame that is gone by then.
unsigned long long LastClickAnswered = 0;

void CALLBACK ClickAnswered(HWND, UINT, ULONG_PTR click, LRESULT) {
    LastClickAnswered = click;
}

struct BoxSearch {
    DWORD process;
    bool found;
};

BOOL CALLBACK MatchBoxOfProcess(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window) || ClassOf(window) != "#32770")
        return TRUE;
    search->found = true;
    return FALSE;
}

// Whether the process shows a message box (a visible top-level dialog window).
bool ProcessHasBox(DWORD process) {
    BoxSearch search = {process, false};
    EnumWindows(MatchBoxOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

int WaitWindow(const std::string& title, unsigned long timeoutMs) {
    HWND window = WaitTopLevel(title, false, timeoutMs);
    if (!window) {
        std::fprintf(stderr, "time-out waiting for \"%s\"\n", title.c_str());
        return 1;
    }
    std::printf("0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return 0;
}

// The window is there and its thread has reached a message loop: a sent message is handled only
// where the thread takes messages, so start-up (creation, discovery, loading and applying the
// settings) is over when the answer comes, or the tool is showing a box.
int WaitReady(const std::string& title, unsigned long timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    HWND window = WaitTopLevel(title, false, timeoutMs);
    const ULONGLONG waited = GetTickCount64() - start;
    DWORD_PTR answer = 0;
    if (!window || waited >= timeoutMs ||
        !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL,
                             static_cast<UINT>(timeoutMs - waited), &answer)) {
        std::fprintf(stderr, "\"%s\" not ready within %lu ms\n", title.c_str(), timeoutMs);
        return 1;
    }
    std::printf("ready\n");
    return 0;
}

int ListControls(const std::string& title) {
    HWND window = MainWindowOrComplain(title);
    if (!window)
        return 1;
    for (HWND child : ChildrenOf(window)) {
        RECT rect = {};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        const std::string className = ClassOf(child);
        const bool isButton = className == "Button";
        const bool isTrackbar = className == TRACKBAR_CLASSA;
        std::printf("%d\t%s\t%s\t0x%08lx\t0x%08lx\t%ld\t%ld\t%ld\t%ld\t%d\t%d\t%s\t%s\t%s\t%s\n",
                    GetDlgCtrlID(child), className.c_str(), Escaped(TextOf(child)).c_str(),
                    static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongA(child, GWL_EXSTYLE)), rect.left,
                    rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0,
                    isButton ? Asked(child, BM_GETCHECK).c_str() : "-",
                    isTrackbar ? Asked(child, TBM_GETRANGEMIN).c_str() : "-",
                    isTrackbar ? Asked(child, TBM_GETRANGEMAX).c_str() : "-",
                    isTrackbar ? Asked(child, TBM_GETPOS).c_str() : "-");
    }
    return 0;
}

int Click(const std::string& title, int id) {
    HWND window = MainWindowOrComplain(title);
    HWND control = window ? ControlOrComplain(window, id) : nullptr;
    if (!control || !ReachableOrComplain(control, id))
        return 1;
    DWORD toolProcess = 0;
    GetWindowThreadProcessId(window, &toolProcess);
    // Sent with a callback rather than SendMessageTimeout: such a send has no time-out, so the
    // click stays queued until the tool's thread takes it, however long the handler before it
    // sleeps. (With a time-out Wine drops a send not yet taken when the time runs out, and the
    // click never happens.)
    static unsigned long long clicks = 0;
    const unsigned long long click = ++clicks;
    if (!SendMessageCallbackA(control, BM_CLICK, 0, 0, ClickAnswered, click)) {
        std::fprintf(stderr, "BM_CLICK failed: %lu\n", GetLastError());
        return 1;
    }
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        // The answer comes as a callback, which runs inside PeekMessage.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (LastClickAnswered == click) {
            std::printf("clicked %d\n", id);
            return 0;
        }
        // The click's handler opened a modal box and waits for an answer: the click has happened.
        if (ProcessHasBox(toolProcess)) {
            std::printf("clicked %d (handler still running)\n", id);
            return 0;
        }
        // The handler ended the tool (Exit): no answer will come.
        if (!IsWindow(control)) {
            std::printf("clicked %d (window gone)\n", id);
            return 0;
        }
        if (GetTickCount64() - start >= kHandlerTimeoutMs) {
            std::fprintf(stderr, "click %d: handler still running after %u ms\n", id,
                         kHandlerTimeoutMs);
            return 1;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

int Slide(const std::string& title, int id, int position) {
    HWND window = MainWindowOrComplain(title);
    HWND trackbar = window ? ControlOrComplain(window, id) : nullptr;
    if (!trackbar || !ReachableOrComplain(trackbar, id))
        return 1;
    if (!Send(trackbar, TBM_SETPOS, TRUE, position, nullptr)) {
        std::fprintf(stderr, "TBM_SETPOS failed: %lu\n", GetLastError());
        return 1;
    }
    // What a real drag ends with: the parent hears of the new position with the trackbar's handle.
    const WPARAM wParam = MAKEWPARAM(TB_THUMBPOSITION, static_cast<WORD>(position));
    if (!SendAndWait(window, WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(trackbar), nullptr)) {
        std::fprintf(stderr, "WM_HSCROLL failed: %lu\n", GetLastError());
        return 1;
    }
    LRESULT now = 0;
    Send(trackbar, TBM_GETPOS, 0, 0, &now);
    std::printf("%lld\n", static_cast<long long>(now));
    return 0;
}

int Post(const std::string& title, unsigned long message, unsigned long long wParam,
         long long lParam) {
    HWND window = MainWindowOrComplain(title);
    if (!window)
        return 1;
    if (!PostMessageA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                      static_cast<LPARAM>(lParam))) {
        std::fprintf(stderr, "PostMessage failed: %lu\n", GetLastError());
        return 1;
    }
    std::printf("posted 0x%lx\n", message);
    return 0;
}

int Close(const std::string& title) {
    return Post(title, WM_CLOSE, 0, 0);
}

int Text(const std::string& title, int id) {
    HWND window = MainWindowOrComplain(title);
    if (!window)
        return 1;
    HWND target = id == 0 ? window : ControlOrComplain(window, id);
    std::string text;
    // An unanswered request is a failure, never an empty caption: the answer also says that the
    // tool's thread is free again, which the tests rely on.
    if (!target || !AskText(target, &text))
        return 1;
    std::printf("%s\n", Escaped(text).c_str());
    return 0;
}

int Status(const std::string& title) {
    HWND window = MainWindowOrComplain(title);
    if (!window)
        return 1;
    // Found by class rather than identifier: the status bar is whichever child is one.
    for (HWND child : ChildrenOf(window)) {
        if (ClassOf(child) != STATUSCLASSNAMEA)
            continue;
        std::string text;
        if (!AskText(child, &text))
            return 1;
        std::printf("%s\n", Escaped(text).c_str());
        return 0;
    }
    std::fprintf(stderr, "\"%s\" has no status bar\n", title.c_str());
    return 1;
}

int Client(const std::string& title) {
    HWND window = MainWindowOrComplain(title);
    if (!window)
        return 1;
    RECT rect = {};
    if (!GetClientRect(window, &rect))
        return 1;
    std::printf("%ld\t%ld\n", rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

} // namespace driver
