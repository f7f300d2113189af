// Subcommands about the tool's message boxes: top-level dialog windows (#32770) with a caption.
#include "driver_commands.h"
#include "driver_windows.h"

#include <cstdio>

namespace driver {
namespace {

// The message: the box's static control that has text (the icon's static has none).
std::string MessageOf(HWND box) {
    for (HWND child : ChildrenOf(box)) {
        if (ClassOf(child) != "Static")
            continue;
        const std::string text = TextOf(child);
        if (!text.empty())
            return text;
    }
    return std::string();
}

} // namespace

int WaitBox(const std::string& caption, unsigned long timeoutMs) {
    const DWORD start = GetTickCount();
    HWND box = WaitTopLevel(caption, true, timeoutMs);
    if (!box) {
        std::fprintf(stderr, "time-out waiting for a box \"%s\"\n", caption.c_str());
        return 1;
    }
    // A box can be visible before its message is in place (under load the driver read an empty
    // message once): every box of the tool says something, so wait for the text too.
    while (MessageOf(box).empty() && GetTickCount() - start < timeoutMs && IsWindow(box))
        Sleep(10);
    HWND owner = GetWindow(box, GW_OWNER);
    std::string ownerTitle = "0";
    if (owner) {
        char title[512] = {};
        GetWindowTextA(owner, title, sizeof title);
        ownerTitle = title;
    }
    std::printf("%s\t%s\n", Escaped(ownerTitle).c_str(), Escaped(MessageOf(box)).c_str());
    return 0;
}

int AnswerBox(const std::string& caption, int buttonId) {
    HWND box = FindTopLevel(caption, true);
    if (!box) {
        std::fprintf(stderr, "no box \"%s\"\n", caption.c_str());
        return 1;
    }
    HWND button = GetDlgItem(box, buttonId);
    if (!button) {
        std::fprintf(stderr, "box \"%s\" has no button %d\n", caption.c_str(), buttonId);
        return 1;
    }
    // Posted: what the tool does after the box closes (even ending itself) must not hold us up.
    if (!PostMessageA(button, BM_CLICK, 0, 0)) {
        std::fprintf(stderr, "BM_CLICK failed: %lu\n", GetLastError());
        return 1;
    }
    std::printf("answered %d\n", buttonId);
    return 0;
}

} // namespace driver
