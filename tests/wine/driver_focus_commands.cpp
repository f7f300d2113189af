// Subcommands for the preview, capture and Print-key tests: a window of the driver's own that holds
// the keyboard focus, a key sent by software, the windows of a title wherever they sit in the
// window tree, and the tool's main window minimised, restored, hidden and shown, as it happens.
#include "driver_commands.h"
#include "driver_windows.h"
#include "window_events.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace driver {
namespace {

constexpr const char* kHolderClass = "framewright_focus_holder";

// The holder reports what reaches it, so a test can tell that the key it sent was passed on to the
// program with the focus and that the holder had the focus at that moment.
LRESULT CALLBACK HolderProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        std::printf("keydown 0x%02x\n", static_cast<unsigned>(wParam));
        return 0;
    case WM_KEYUP:
        // The input's time stamp, which the tool's keyboard hook is given too: a test can tell how
        // far apart two releases were where it counts, whatever the sender meant.
        std::printf("keyup 0x%02x\nreleased-at %lu\n", static_cast<unsigned>(wParam),
                    static_cast<unsigned long>(GetMessageTime()));
        return 0;
    case WM_SYSKEYDOWN:
        std::printf("syskeydown 0x%02x\n", static_cast<unsigned>(wParam));
        break;
    case WM_SYSKEYUP:
        std::printf("syskeyup 0x%02x\n", static_cast<unsigned>(wParam));
        break;
    case WM_ACTIVATE:
        std::printf("%s\n", LOWORD(wParam) == WA_INACTIVE ? "inactive" : "active");
        break;
    case WM_DESTROY:
        // A test ends the holder with driver.exe close instead of waiting for its time to run out.
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
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
    if (!window)
        return none;
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    return Escaped(caption);
}

struct WindowList {
    const std::string* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND window, LPARAM context) {
    auto* list = reinterpret_cast<WindowList*>(context);
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (*list->title == caption)
        list->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectTitledTree(HWND window, LPARAM context) {
    CollectTitled(window, context);
    // EnumChildWindows walks every descendant, so embedded windows are found at any depth.
    EnumChildWindows(window, CollectTitled, context);
    return TRUE;
}

const char* StateOf(HWND window) {
    if (!window)
        return "gone";
    // A hidden window may be minimised as well: hidden is what the operator sees.
    if (!IsWindowVisible(window))
        return "hidden";
    return IsIconic(window) ? "minimised" : "normal";
}

const char* EventName(UINT message) {
    switch (message) {
    case kEventMinimised:
        return "minimised";
    case kEventRestored:
        return "restored";
    case kEventHidden:
        return "hidden";
    case kEventShown:
        return "shown";
    default:
        return nullptr;
    }
}

// window_events_hook.dll, found beside driver.exe, hooked into the procedures of the thread that
// owns window; Wine loads the DLL into the tool's process for it. Null on failure.
HHOOK HookWindowEvents(HWND window) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = std::strrchr(path, '\\');
    if (length == 0 || length >= sizeof path || !slash)
        return nullptr;
    std::snprintf(slash + 1, sizeof path - (slash + 1 - path), "window_events_hook.dll");
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        std::fprintf(stderr, "cannot load %s: %lu\n", path, GetLastError());
        return nullptr;
    }
    // Through void*: FARPROC and HOOKPROC have different signatures.
    auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "WindowEventsHookProc")));
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK hook = procedure ? SetWindowsHookExA(WH_CALLWNDPROC, procedure, module, thread) : nullptr;
    if (!hook)
        std::fprintf(stderr, "SetWindowsHookEx failed: %lu\n", GetLastError());
    return hook;
}

} // namespace

int HoldWindow(const std::string& title, unsigned long seconds) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HolderProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHolderClass;
    if (!RegisterClassA(&windowClass)) {
        std::fprintf(stderr, "RegisterClass failed: %lu\n", GetLastError());
        return 1;
    }
    // Far from where the tool's and the renderer's windows open, so the pointer can rest on it.
    HWND window = CreateWindowExA(0, kHolderClass, title.c_str(), WS_OVERLAPPEDWINDOW, 1900, 1200,
                                  400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        std::fprintf(stderr, "CreateWindow failed: %lu\n", GetLastError());
        return 1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    std::printf("ready\n");
    const ULONGLONG end = GetTickCount64() + seconds * 1000ULL;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                std::printf("closed\n");
                return 0;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DestroyWindow(window);
    std::printf("timed out\n");
    return 0;
}

int InjectKey(unsigned virtualKey) {
    // Sent by software: the system marks both events injected (LLKHF_INJECTED) for the hooks.
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(virtualKey);
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, inputs, sizeof(INPUT)) != 2) {
        std::fprintf(stderr, "SendInput failed: %lu\n", GetLastError());
        return 1;
    }
    std::printf("injected 0x%02x\n", virtualKey);
    return 0;
}

int ListWindows(const std::string& title) {
    WindowList list = {&title, {}};
    EnumWindows(CollectTitledTree, reinterpret_cast<LPARAM>(&list));
    for (HWND window : list.found) {
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

int WatchWindow(const std::string& title, unsigned long timeoutMs, const std::string& stopFile) {
    const ULONGLONG start = GetTickCount64();
    HWND window = FindTopLevel(title, false);
    if (!window) {
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    WNDCLASSA receiverClass = {};
    receiverClass.lpfnWndProc = DefWindowProcA;
    receiverClass.hInstance = GetModuleHandleA(nullptr);
    receiverClass.lpszClassName = kWindowEventsReceiverClass;
    RegisterClassA(&receiverClass);
    // Never shown: the hook inside the tool finds it by its class.
    HWND receiver = CreateWindowExA(0, kWindowEventsReceiverClass, "", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, receiverClass.hInstance, nullptr);
    HHOOK hook = receiver ? HookWindowEvents(window) : nullptr;
    if (!hook) {
        if (receiver)
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
    UnhookWindowsHookEx(hook);
    DestroyWindow(receiver);
    if (!stopFile.empty() && !stopped) {
        std::fprintf(stderr, "watch-window: no %s within %lu ms\n", stopFile.c_str(), timeoutMs);
        return 1;
    }
    return 0;
}

} // namespace driver
