#include "driver_windows.h"

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

std::string TextOf(HWND window) {
    char text[4096] = {};
    if (!Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), nullptr))
        return std::string();
    text[sizeof text - 1] = '\0';
    return text;
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
