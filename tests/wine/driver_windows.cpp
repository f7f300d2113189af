#include "driver_windows.h"

#include <cstdio>
#include <cstring>

namespace driver {
namespace {

struct Search {
    const std::string* title;
    bool boxes;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    const bool isBox = ClassOf(window) == "#32770";
    if (isBox != search->boxes)
        return TRUE;
    // GetWindowText reads a foreign top-level window's caption without sending to it.
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (*search->title != caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND FindTopLevel(const std::string& title, bool boxes) {
    Search search = {&title, boxes, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitTopLevel(const std::string& title, bool boxes, DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (HWND window = FindTopLevel(title, boxes))
            return window;
        if (GetTickCount64() - start >= timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND ChildWithId(HWND parent, int id) {
    for (HWND child : ChildrenOf(parent))
        if (GetDlgCtrlID(child) == id)
            return child;
    return nullptr;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kHandlerTimeoutMs,
                             &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

bool AskText(HWND window, std::string* text) {
    char buffer[4096] = {};
    if (!SendAndWait(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                     nullptr)) {
        std::fprintf(stderr, "WM_GETTEXT not answered: %lu\n", GetLastError());
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

HHOOK HookToolThread(HWND window, const char* dll, const char* proc) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = std::strrchr(path, '\\');
    if (length == 0 || length >= sizeof path || !slash ||
        static_cast<size_t>(slash + 1 - path) + std::strlen(dll) + 1 > sizeof path) {
        std::fprintf(stderr, "no path for %s\n", dll);
        return nullptr;
    }
    std::strcpy(slash + 1, dll);
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        std::fprintf(stderr, "cannot load %s: %lu\n", path, GetLastError());
        return nullptr;
    }
    // Through void*: FARPROC and HOOKPROC have different signatures.
    auto hookProc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, proc)));
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK hook = hookProc ? SetWindowsHookExA(WH_CALLWNDPROC, hookProc, module, thread) : nullptr;
    if (!hook)
        std::fprintf(stderr, "SetWindowsHookEx(%s) failed: %lu\n", proc, GetLastError());
    return hook;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

} // namespace driver
