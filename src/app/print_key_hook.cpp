#include "app/print_key_hook.h"

#include "core/control_ids.h"
#include "core/shell_state.h"
#include "platform/constants.h"

using namespace platform;

bool InstallPrintKeyHook(Instance instance) {
    Shell.hook = nullptr;
    Shell.hook = InstallKeyboardHook(instance, PrintKeyHookProcedure);
    if (!Shell.hook) {
        ShowMessageBox(nullptr, "Unable to install hook", "Error!", mb::Ok);
        return false;
    }
    return true;
}

bool RemovePrintKeyHook() {
    return RemoveKeyboardHook(Shell.hook);
}

intptr_t PrintKeyHookProcedure(int code, uintptr_t kind, const KeyEvent& event) {
    // Only a real release of the Print key counts: presses, Alt+Print (a system key) and events
    // sent by software do not.
    if (code >= 0 && !(event.flags & key::InjectedFlag) && event.virtualKey == key::Snapshot &&
        kind == msg::KeyUp)
        StartTimer(Shell.mainWindow, IDT_PRINTKEY, 100);
    return PassKeyEventOn(code, kind, event);
}
