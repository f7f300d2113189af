// The window program's main window class: registered by its start-up, and looked up by the
// command-line program's watch to tell whether the window program runs (the operator is at work).
#pragma once

constexpr const char* kWindowProgramClass = "my_wnd_class_name_0";
