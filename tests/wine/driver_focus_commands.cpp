// Subcommands for the preview, capture and Print-key tests: a window of the driver's own that holds
// the keyboard focus, a key sent by software, the windows of a title wherever they sit in the
// window tree, and the tool's main window minimised, restored, hidden and shown, as it happens.
#include "driver_commands.h"
#include "driver_windows.h"
#include "tool_hooks.h"

#include <algorithm>
#include <cstdio>

namespace driver {
namespace {

constexpr const char* kHolderClass = "framewright_focus_holder";

// The holder reports what reaches it, so a test can tell that the key it sent was passed on to the
// program with the focus and that the holder had the focus at that moment.
LRESULT CALLBACK HolderProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* key = message == WM_KEYDOWN      ? "keydown"
                      : message == WM_KEYUP      ? "keyup"
                      : message == WM_SYSKEYDOWN ? "syskeydown"
                      : message == WM_SYSKEYUP   ? "syskeyup"
                                                 : nullptr;
    if (key)
        std::printf("%s 0x%02x\n", key, static_cast<unsigned>(wParam));
    // The input's time stamp, which the tool's keyboard hook is given too: a test can tell how far
    // apart two releases were where it counts, whatever the sender meant.
    if (message == WM_KEYUP)
        std::printf("released-at %lu\n", static_cast<unsigned long>(GetMessageTime()));
    if (message == WM_ACTIVATE)
        std::printf("%s\n", LOWORD(wParam) == WA_INACTIVE ? "inactive" : "active");
    // A test ends the holder with driver.exe close instead of waiting for its time to run out.
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    // Plain keys end here; system keys and the rest go on to the default procedure.
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_DESTROY)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Where a window sits: "-" for a top-level window, otherwise its parent's control identifier.
std::string ParentOf(HWND window) {
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
        return "-";
    HWND parent = GetParent(window);
    return parent ? std::to_string(GetDlgCtrlID(parent)) : "?";
}

std::string CaptionOr(HWND window, const char* none) {
    return window ? Escaped(CaptionOf(window)) : none;
}

const char* StateOf(HWND window) {
    if (!window)
        return "gone";
    // A hidden window may be minimised as well: hidden is what the operator sees.
    if (!IsWindowVisible(window))
        return "hidden";
    return IsIconic(window) ? "minimised" : "normal";
}

// The name of a message of WindowEventsHookProc, or null for another message.
const char* EventName(UINT message) {
    static const char* const names[] = {"minimised", "restored", "hidden", "shown"};
    const UINT index = message - kEventMinimised;
    return index < sizeof names / sizeof names[0] ? names[index] : nullptr;
}

// A window of the driver's own, of a class registered for it.
HWND OwnWindow(const char* className, WNDPROC procedure, const char* title, DWORD style, int x,
               int y, int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass); // refused, harmlessly, when the class is there from before
    HWND window = CreateWindowExA(0, className, title, style, x, y, width, height, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (!window)
        Fail("CreateWindow failed: %lu\n", GetLastError());
    return window;
}

} // namespace

int HoldWindow(const std::string& title, unsigned long seconds) {
    // Far from where the tool's and the renderer's windows open, so the pointer can rest on it.
    HWND window = OwnWindow(kHolderClass, HolderProcedure, title.c_str(), WS_OVERLAPPEDWINDOW, 1900,
                            1200, 400, 300);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    std::printf("ready\n");
    const ULONGLONG end = GetTickCount64() + seconds * 1000ULL;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return Reply("closed\n");
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DestroyWindow(window);
    return Reply("timed out\n");
}

int InjectKey(unsigned virtualKey) {
    // Sent by software: the system marks both events injected (LLKHF_INJECTED) for the hooks.
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(virtualKey);
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, inputs, sizeof(INPUT)) != 2)
        return Fail("SendInput failed: %lu\n", GetLastError());
    return Reply("injected 0x%02x\n", virtualKey);
}

int ListWindows(const std::string& title) {
    for (HWND window : WindowsUnder(GetDesktopWindow())) {
        if (CaptionOf(window) != title)
            continue;
        // A top-level window's rectangle on the screen, a child's in its parent's client area.
        RECT rect = {};
        GetWindowRect(window, &rect);
        if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow())
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        RECT client = {};
        GetClientRect(window, &client);
        std::printf("%s\t%s\t%s\t%s\t0x%08lx\t0x%08lx\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%d\t%d\n",
                    ClassOf(window).c_str(), ParentOf(window).c_str(),
                    CaptionOr(GetAncestor(window, GA_ROOT), "-").c_str(),
                    CaptionOr(GetWindow(window, GW_OWNER), "-").c_str(),
                    static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), rect.left,
                    rect.top, rect.right - rect.left, rect.bottom - rect.top, client.right,
                    client.bottom, IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0);
    }
    return 0;
}

int WatchWindow(HWND window, unsigned long timeoutMs, const std::string& stopFile) {
    const ULONGLONG start = GetTickCount64();
    // Never shown: the hook inside the tool finds it by its class.
    HWND receiver = OwnWindow(kWindowEventsReceiverClass, DefWindowProcA, "", WS_POPUP, 0, 0, 0, 0);
    if (!receiver)
        return 1;
    Hook hook = HookToolThread(window, "WindowEventsHookProc");
    if (!hook) {
        DestroyWindow(receiver);
        return 1;
    }
    // The first line also tells a test that the hook is in place.
    std::printf("0\t%s\n", StateOf(window));
    bool stopped = false;
    for (ULONGLONG now = GetTickCount64(); now - start < timeoutMs; now = GetTickCount64()) {
        // Seen before the queue is emptied: what the hook posted before the test made the file
        // is still reported.
        stopped =
            !stopFile.empty() && GetFileAttributesA(stopFile.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!stopped) {
            const DWORD left = static_cast<DWORD>(timeoutMs - (now - start));
            MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                      stopFile.empty() ? left : std::min<DWORD>(left, 20),
                                      QS_ALLINPUT);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            const char* name = EventName(message.message);
            if (!name || reinterpret_cast<HWND>(message.wParam) != window) {
                DispatchMessageA(&message);
                continue;
            }
            // The tick count the hook took when the tool's window got the message.
            const DWORD at = static_cast<DWORD>(message.lParam) - static_cast<DWORD>(start);
            std::printf("%lu\t%s\n", static_cast<unsigned long>(at), name);
        }
        if (stopped)
            break;
    }
    hook.reset();
    DestroyWindow(receiver);
    if (!stopFile.empty() && !stopped)
        return Fail("watch-window: no %s within %lu ms\n", stopFile.c_str(), timeoutMs);
    return 0;
}

} // namespace driver
