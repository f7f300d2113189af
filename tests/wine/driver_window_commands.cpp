// Subcommands about the tool's main window: waiting for it, its controls, and acting on them
// (clicks, slider moves, messages sent and posted to it).
#include "driver_commands.h"
#include "driver_windows.h"

#include <commctrl.h>
#include <cstdio>

namespace driver {
namespace {

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

// Whether the process shows a message box (a visible top-level dialog window).
bool ProcessHasBox(DWORD process) {
    for (HWND window : WindowsUnder(nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window) && ClassOf(window) == "#32770")
            return true;
    }
    return false;
}

// The window's text on one line. An unanswered request is a failure, never an empty text: the
// answer also says that the tool's thread is free again, which the tests rely on.
int ReplyText(HWND window) {
    std::string text;
    return AskText(window, &text) ? Reply("%s\n", Escaped(text).c_str()) : 1;
}

} // namespace

int WaitWindow(const std::string& title, unsigned long timeoutMs) {
    HWND window = WaitTopLevel(title, false, timeoutMs);
    if (!window)
        return Fail("time-out waiting for \"%s\"\n", title.c_str());
    return Reply("0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
}

// The window is there and its thread has reached a message loop: a sent message is handled only
// where the thread takes messages, so start-up (creation, discovery, loading and applying the
// settings) is over when the answer comes, or the tool is showing a box.
int WaitReady(const std::string& title, unsigned long timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    HWND window = WaitTopLevel(title, false, timeoutMs);
    const ULONGLONG waited = GetTickCount64() - start;
    if (!window || waited >= timeoutMs ||
        !SendAndWait(window, WM_NULL, 0, 0, nullptr, static_cast<UINT>(timeoutMs - waited)))
        return Fail("\"%s\" not ready within %lu ms\n", title.c_str(), timeoutMs);
    return Reply("ready\n");
}

int ListControls(HWND window) {
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

int Click(HWND window, int id) {
    HWND control = ReachableControl(window, id);
    if (!control)
        return 1;
    DWORD toolProcess = 0;
    GetWindowThreadProcessId(control, &toolProcess);
    // Sent with a callback rather than SendMessageTimeout: such a send has no time-out, so the
    // click stays queued until the tool's thread takes it, however long the handler before it
    // sleeps. (With a time-out Wine drops a send not yet taken when the time runs out, and the
    // click never happens.)
    static unsigned long long clicks = 0;
    const unsigned long long click = ++clicks;
    if (!SendMessageCallbackA(control, BM_CLICK, 0, 0, ClickAnswered, click))
        return Fail("BM_CLICK failed: %lu\n", GetLastError());
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        // The answer comes as a callback, which runs inside PeekMessage.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (LastClickAnswered == click)
            return Reply("clicked %d\n", id);
        // The click's handler opened a modal box and waits for an answer: the click has happened.
        if (ProcessHasBox(toolProcess))
            return Reply("clicked %d (handler still running)\n", id);
        // The handler ended the tool (Exit): no answer will come.
        if (!IsWindow(control))
            return Reply("clicked %d (window gone)\n", id);
        if (GetTickCount64() - start >= kHandlerTimeoutMs)
            return Fail("click %d: handler still running after %u ms\n", id, kHandlerTimeoutMs);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

int Press(HWND window, int id) {
    HWND control = ReachableControl(window, id);
    if (!control)
        return 1;
    if (!PostMessageA(control, BM_CLICK, 0, 0))
        return Fail("BM_CLICK failed: %lu\n", GetLastError());
    return Reply("pressed %d\n", id);
}

int Slide(HWND window, int id, int position) {
    HWND trackbar = ReachableControl(window, id);
    if (!trackbar)
        return 1;
    if (!Send(trackbar, TBM_SETPOS, TRUE, position))
        return Fail("TBM_SETPOS failed: %lu\n", GetLastError());
    // What a real drag ends with: the parent hears of the new position with the trackbar's handle.
    const WPARAM wParam = MAKEWPARAM(TB_THUMBPOSITION, static_cast<WORD>(position));
    if (!SendAndWait(GetParent(trackbar), WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(trackbar)))
        return Fail("WM_HSCROLL failed: %lu\n", GetLastError());
    LRESULT now = 0;
    Send(trackbar, TBM_GETPOS, 0, 0, &now);
    return Reply("%lld\n", static_cast<long long>(now));
}

int Post(HWND window, unsigned long message, unsigned long long wParam, long long lParam) {
    if (!PostMessageA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                      static_cast<LPARAM>(lParam)))
        return Fail("PostMessage failed: %lu\n", GetLastError());
    return Reply("posted 0x%lx\n", message);
}

int Text(HWND window, int id) {
    HWND target = id != 0 ? GetDlgItem(window, id) : window;
    if (!target)
        return Fail("no control with id %d\n", id);
    return ReplyText(target);
}

int Status(HWND window) {
    // Found by class rather than identifier: the status bar is whichever child is one.
    for (HWND child : ChildrenOf(window)) {
        if (ClassOf(child) != STATUSCLASSNAMEA)
            continue;
        return ReplyText(child);
    }
    return Fail("\"%s\" has no status bar\n", CaptionOf(window).c_str());
}

int Client(HWND window) {
    RECT rect = {};
    if (!GetClientRect(window, &rect))
        return 1;
    return Reply("%ld\t%ld\n", rect.right - rect.left, rect.bottom - rect.top);
}

int SendWatched(HWND window, unsigned long message, unsigned long long wParam, long long lParam) {
    const Hook hook = HookToolThread(window, "StatusHookProc");
    if (!hook)
        return 1;
    // Sent, not posted: Windows and Wine refuse to post WM_DEVICECHANGE (ERROR_MESSAGE_SYNC_ONLY).
    LRESULT answer = 0;
    if (!SendAndWait(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                     static_cast<LPARAM>(lParam), &answer))
        return Fail("SendMessageTimeout failed: %lu\n", GetLastError());
    return Reply("sent 0x%lx: %lld\n", message, static_cast<long long>(answer));
}

} // namespace driver
