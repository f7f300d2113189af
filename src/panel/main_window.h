// The main window as the panel and the shell address it: its controls by identifier, and the
// minimise and restore that repaints it.
#pragma once

#include "platform/types.h"

// A control of the main window by identifier (null before the window exists).
platform::Window ControlOf(int id);
// Minimise the main window, then restore it: repaints it and brings a hidden window back.
void MinimiseAndRestore();
