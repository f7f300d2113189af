// The Print-key hook: a low-level keyboard hook for the whole desktop that starts IDT_PRINTKEY
// when the Print key is released, and passes every event on.
#pragma once

#include "platform/types.h"
#include "platform/window_system.h"

// False after the "Unable to install hook" box.
bool InstallPrintKeyHook(platform::Instance instance);
bool RemovePrintKeyHook();
intptr_t PrintKeyHookProcedure(int code, uintptr_t kind, const platform::KeyEvent& event);
