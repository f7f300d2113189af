// The driver's subcommands. Each prints its findings on stdout (problems on stderr) and returns
// the process's exit code: 0 on success, 1 on failure or time-out.
#pragma once

#include <string>

namespace driver {

int WaitWindow(const std::string& title, unsigned long timeoutMs);
int WaitGone(const std::string& title, unsigned long timeoutMs);
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

} // namespace driver
