// The driver's subcommands. Each prints its findings on stdout (problems on stderr) and returns
// the process's exit code: 0 on success, 1 on failure or time-out.
#pragma once

#include <string>

namespace driver {

int WaitWindow(const std::string& title, unsigned long timeoutMs);
// The window is there and its thread takes messages again (start-up is over).
int WaitReady(const std::string& title, unsigned long timeoutMs);
int ListControls(const std::string& title);
int Click(const std::string& title, int id);
int Slide(const std::string& title, int id, int position);
int Post(const std::string& title, unsigned long message, unsigned long long wParam,
         long long lParam);
int Close(const std::string& title);
int Text(const std::string& title, int id);
int Status(const std::string& title);
int Client(const std::string& title);
int WaitBox(const std::string& caption, unsigned long timeoutMs);
int AnswerBox(const std::string& caption, int buttonId);
// driver_panel_commands.cpp
int Press(const std::string& title, int id);
int WaitNoBox(const std::string& caption, unsigned long timeoutMs);
// Sends and waits for the handler; with watchStatus the status texts set meanwhile are appended
// to FRAMEWRIGHT_STATUS_LOG by status_hook.dll inside the tool.
int Send(const std::string& title, unsigned long message, unsigned long long wParam,
         long long lParam, bool watchStatus);
// driver_focus_commands.cpp
int HoldWindow(const std::string& title, unsigned long seconds);
int ListWindows(const std::string& title);
// Reports the main window's minimise, restore, hide and show for timeoutMs, or, with a stop file,
// until that file exists (exit code 1 when it did not appear within timeoutMs).
int WatchWindow(const std::string& title, unsigned long timeoutMs, const std::string& stopFile);
int InjectKey(unsigned virtualKey);
// driver_timer_commands.cpp: returns once every timer of the tool due within periodMs from now has
// been handled (timer_probe_hook.dll starts a thread timer inside the tool).
int WaitTimers(const std::string& title, unsigned long periodMs);
// driver_text_fit_commands.cpp: the tool's screen DPI and its manifest's dpiAware, and every text's
// need against its control's room, measured inside the tool (text_fit_hook.dll).
int TextFit(const std::string& title);
// driver_process_commands.cpp: runs program, waits for it, writes its Windows exit code to
// exitFile.
int RunTool(const std::string& exitFile, const std::string& program);
int DeviceNotice(const std::string& title, const std::string& event, const std::string& path, const std::string& form);

} // namespace driver
