// The driver's subcommands. Each prints its findings on stdout (problems on stderr) and returns
// the process's exit code: 0 on success, 1 on failure or time-out. A window is the tool's main
// window (or another top-level window that is not a box), found by its title.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace driver {

// driver_window_commands.cpp: the tool's main window and its controls.
int WaitWindow(const std::string& title, unsigned long timeoutMs);
// The window is there and its thread takes messages again (start-up is over).
int WaitReady(const std::string& title, unsigned long timeoutMs);
int ListControls(HWND window);
int Click(HWND window, int id);
// A click posted, so the driver returns at once while the handler waits in its box.
int Press(HWND window, int id);
int Slide(HWND window, int id, int position);
int Post(HWND window, unsigned long message, unsigned long long wParam, long long lParam);
int Text(HWND window, int id);
int Status(HWND window);
int Client(HWND window);
// Sends and waits for the handler; the status texts set meanwhile are appended to
// FRAMEWRIGHT_STATUS_LOG by tool_hooks.dll inside the tool (StatusHookProc).
int SendWatched(HWND window, unsigned long message, unsigned long long wParam, long long lParam);
// driver_box_commands.cpp: the tool's message boxes.
int WaitBox(const std::string& caption, unsigned long timeoutMs);
int AnswerBox(const std::string& caption, int buttonId);
int WaitNoBox(const std::string& caption, unsigned long timeoutMs);
// driver_focus_commands.cpp
int HoldWindow(const std::string& title, unsigned long seconds);
int ListWindows(const std::string& title);
// Reports the main window's minimise, restore, hide and show for timeoutMs, or, with a stop file,
// until that file exists (exit code 1 when it did not appear within timeoutMs).
int WatchWindow(HWND window, unsigned long timeoutMs, const std::string& stopFile);
int InjectKey(unsigned virtualKey);
// driver_probe_commands.cpp: returns once every timer of the tool due within periodMs from now has
// been handled (TimerProbeHookProc starts a thread timer inside the tool).
int WaitTimers(HWND window, unsigned long periodMs);
// The tool's screen DPI and its manifest's dpiAware, and every text's need against its control's
// room, measured inside the tool (TextFitHookProc).
int TextFit(HWND window);
// driver_process_commands.cpp: runs program, waits for it, writes its Windows exit code to
// exitFile.
int RunTool(const std::string& exitFile, const std::string& program);
int DeviceNotice(HWND window, const std::string& event, const std::string& path,
                 const std::string& form);

} // namespace driver
