// The low-level keyboard hook that lets the Print key take a still image while another program
// has the focus.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {
namespace {

KeyboardHookProcedure hookProcedure = nullptr;
HHOOK installedHook = nullptr;
// The lParam of the event the logic's procedure is handling: CallNextHookEx must be given the
// system's own record, not a copy rebuilt from the logic's KeyEvent.
LPARAM eventInProgress = 0;

LRESULT CALLBACK KeyboardThunk(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0 || !hookProcedure)
        return CallNextHookEx(installedHook, code, wParam, lParam);
    const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    KeyEvent event;
    event.virtualKey = record->vkCode;
    event.flags = record->flags;
    const LPARAM outer = eventInProgress;
    eventInProgress = lParam;
    const intptr_t result = hookProcedure(code, static_cast<uintptr_t>(wParam), event);
    eventInProgress = outer;
    return static_cast<LRESULT>(result);
}

} // namespace

Hook InstallKeyboardHook(Instance instance, KeyboardHookProcedure procedure) {
    hookProcedure = procedure;
    installedHook =
        SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardThunk, win32::ToHinstance(instance), 0);
    return reinterpret_cast<Hook>(installedHook);
}

intptr_t PassKeyEventOn(int code, uintptr_t kind, const KeyEvent& event) {
    (void)event; // the system's record of this event is the one passed on
    return static_cast<intptr_t>(
        CallNextHookEx(installedHook, code, static_cast<WPARAM>(kind), eventInProgress));
}

bool RemoveKeyboardHook(Hook hook) {
    HHOOK handle = reinterpret_cast<HHOOK>(hook);
    const bool removed = UnhookWindowsHookEx(handle) != FALSE;
    if (removed && handle == installedHook)
        installedHook = nullptr;
    return removed;
}

} // namespace platform
