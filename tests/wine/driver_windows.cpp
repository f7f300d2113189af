#include "driver_windows.h"

#include <cstdarg>
#include <cstdio>

namespace driver {
namespace {

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

} // namespace

int Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    return 1;
}

int Reply(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    return 0;
}

std::vector<HWND> WindowsUnder(HWND parent) {
    std::vector<HWND> windows;
    const LPARAM into = reinterpret_cast<LPARAM>(&windows);
    parent ? EnumChildWindows(parent, Collect, into) : EnumWindows(Collect, into);
    return windows;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND FindTopLevel(const std::string& title, bool boxes) {
    for (HWND window : WindowsUnder(nullptr))
        if ((ClassOf(window) == "#32770") == boxes && CaptionOf(window) == title)
            return window;
    return nullptr;
}

HWND WaitTopLevel(const std::string& title, bool boxes, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil(timeoutMs, [&] { return (window = FindTopLevel(title, boxes)) != nullptr; });
    return window;
}

HWND MainWindow(const std::string& title) {
    HWND window = FindTopLevel(title, false);
    if (!window)
        Fail("no window titled \"%s\"\n", title.c_str());
    return window;
}

HWND ReachableControl(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    const char* problem = !control                    ? "missing"
                          : !IsWindowVisible(control) ? "hidden"
                          : !IsWindowEnabled(control) ? "disabled"
                                                      : nullptr;
    if (!problem)
        return control;
    Fail("control %d is %s\n", id, problem);
    return nullptr;
}

bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeoutMs,
                LRESULT* result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, flags, timeoutMs, &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

bool AskText(HWND window, std::string* text) {
    char buffer[4096] = {};
    if (!SendAndWait(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer))) {
        Fail("WM_GETTEXT not answered: %lu\n", GetLastError());
        return false;
    }
    buffer[sizeof buffer - 1] = '\0';
    *text = buffer;
    return true;
}

std::string TextOf(HWND window) {
    std::string text;
    AskText(window, &text);
    return text;
}

std::string CaptionOf(HWND window) {
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\t' ? "\\t" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    return out;
}

Hook HookToolThread(HWND window, const char* proc) {
    char self[MAX_PATH] = {};
    const std::string exe(self, GetModuleFileNameA(nullptr, self, sizeof self));
    const std::string path = exe.substr(0, exe.rfind('\\') + 1) + "tool_hooks.dll";
    Hook hook(nullptr, UnhookWindowsHookEx);
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        Fail("cannot load %s: %lu\n", path.c_str(), GetLastError());
        return hook;
    }
    // Through void*: FARPROC and HOOKPROC have different signatures.
    auto hookProc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, proc)));
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (hookProc)
        hook.reset(SetWindowsHookExA(WH_CALLWNDPROC, hookProc, module, thread));
    if (!hook)
        Fail("SetWindowsHookEx(%s) failed: %lu\n", proc, GetLastError());
    return hook;
}

} // namespace driver
