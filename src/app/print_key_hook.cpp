#include "app/print_key_hook.h"

#include "core/control_ids.h"
#include "core/shell_state.h"

using namespace platform;

namespace {

// The window the hook's thread posts to: set before that thread starts, unchanged while it runs.
Window releasesGoTo = nullptr;

} // namespace

bool InstallPrintKeyHook(Instance instance) {
    Shell.hook = nullptr;
    releasesGoTo = Shell.mainWindow;
    Shell.hook = InstallKeyboardHook(instance, PrintKeyHookProcedure);
    if (!Shell.hook) {
        ShowMessageBox(nullptr, "Unable to install hook", "Error!", mb::Ok);
        return false;
    }
    return true;
}

// The hook's thread has ended when this returns, so nothing is posted after the window goes. A
// release posted just before stays in the queue and is dropped with the window.
bool RemovePrintKeyHook() {
    return RemoveKeyboardHook(Shell.hook);
}

// Runs on the hook's own thread for every key event of the desktop, so it only hands a release
// over: SetTimer takes only a window of the calling thread. A release that comes while the main
// window is in one of its waits is handled when the wait is over.
intptr_t PrintKeyHookProcedure(int code, uintptr_t kind, const KeyEvent& event) {
    // Only a real release of the Print key counts: presses, Alt+Print (a system key) and events
    // sent by software do not.
    if (code >= 0 && !(event.flags & key::InjectedFlag) && event.virtualKey == key::Snapshot &&
        kind == msg::KeyUp)
        PostToWindow(releasesGoTo, kPrintKeyReleasedMessage, 0, 0);
    return PassKeyEventOn(code, kind, event);
}

void StartPrintKeyTimer() {
    StartTimer(Shell.mainWindow, IDT_PRINTKEY, 100);
}
