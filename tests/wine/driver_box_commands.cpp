// Subcommands about the tool's message boxes: top-level dialog windows (#32770) with a caption.
#include "driver_commands.h"
#include "driver_windows.h"

#include <algorithm>

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
    const ULONGLONG start = GetTickCount64();
    HWND box = WaitTopLevel(caption, true, timeoutMs);
    if (!box)
        return Fail("time-out waiting for a box \"%s\"\n", caption.c_str());
    // A box can be visible before its message is in place (under load the driver read an empty
    // message once): every box of the tool says something, so wait for the text too.
    WaitUntil(timeoutMs - std::min<ULONGLONG>(timeoutMs, GetTickCount64() - start),
              [&] { return !IsWindow(box) || !MessageOf(box).empty(); });
    HWND owner = GetWindow(box, GW_OWNER);
    return Reply("%s\t%s\n", owner ? Escaped(CaptionOf(owner)).c_str() : "0",
                 Escaped(MessageOf(box)).c_str());
}

int AnswerBox(const std::string& caption, int buttonId) {
    HWND box = FindTopLevel(caption, true);
    if (!box)
        return Fail("no box \"%s\"\n", caption.c_str());
    HWND button = GetDlgItem(box, buttonId);
    if (!button)
        return Fail("box \"%s\" has no button %d\n", caption.c_str(), buttonId);
    // Posted: what the tool does after the box closes (even ending itself) must not hold us up.
    if (!PostMessageA(button, BM_CLICK, 0, 0))
        return Fail("BM_CLICK failed: %lu\n", GetLastError());
    return Reply("answered %d\n", buttonId);
}

int WaitNoBox(const std::string& caption, unsigned long timeoutMs) {
    if (!WaitUntil(timeoutMs, [&] { return !FindTopLevel(caption, true); }))
        return Fail("box \"%s\" still open\n", caption.c_str());
    return Reply("no box\n");
}

} // namespace driver
