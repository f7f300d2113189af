// The Print-key hook: a low-level keyboard hook for the whole desktop, on a thread of its own,
// that hands each release of the Print key to the main window, and passes every event on.
#pragma once

#include "platform/constants.h"
#include "platform/types.h"
#include "platform/window_system.h"

// Posted by the hook's thread to the main window for each release of the Print key.
constexpr uint32_t kPrintKeyReleasedMessage = platform::msg::App + 1;

// False after the "Unable to install hook" box.
bool InstallPrintKeyHook(platform::Instance instance);
bool RemovePrintKeyHook();
intptr_t PrintKeyHookProcedure(int code, uintptr_t kind, const platform::KeyEvent& event);
// The main window's side of the hand-over: starts IDT_PRINTKEY, or restarts it.
void StartPrintKeyTimer();
