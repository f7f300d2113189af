// driver.exe: drives the real Framewright.exe from outside, through window messages, for the
// tests that run under Wine. Usage: driver.exe SUBCOMMAND ARGS... (see Usage below).
#include "driver_commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fputs("usage: driver.exe\n"
               "  wait-window TITLE TIMEOUT_MS | wait-gone TITLE TIMEOUT_MS\n"
               "  controls TITLE | client TITLE | close TITLE | status TITLE\n"
               "  click TITLE ID | text TITLE ID | slide TITLE ID POS\n"
               "  post TITLE MSG WPARAM LPARAM\n"
               "  wait-box CAPTION TIMEOUT_MS | answer-box CAPTION BUTTONID\n"
               "  press TITLE ID | wait-no-box CAPTION TIMEOUT_MS\n"
               "  send TITLE MSG WPARAM LPARAM | send-watched TITLE MSG WPARAM LPARAM\n"
               "  hold-window TITLE SECONDS | windows TITLE | watch-window TITLE MS [STOP_FILE]\n"
               "  inject-key VK | wait-timers TITLE PERIOD_MS | run EXIT_FILE PROGRAM\n"
               "  text-fit TITLE\n",
               stderr);
    return 1;
}

// Numbers in decimal or with 0x; anything else is a usage error.
bool Number(const char* text, long long* value) {
    char* end = nullptr;
    *value = std::strtoll(text, &end, 0);
    return end != text && *end == '\0';
}

bool Unsigned(const char* text, unsigned long long* value) {
    char* end = nullptr;
    *value = std::strtoull(text, &end, 0);
    return end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    // The tests read the output as soon as the driver ends; no buffering surprises on a pipe.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    const std::string title = argv[2];
    long long a = 0;
    long long b = 0;
    unsigned long long u = 0;
    if (command == "controls" && argc == 3)
        return driver::ListControls(title);
    if (command == "client" && argc == 3)
        return driver::Client(title);
    if (command == "close" && argc == 3)
        return driver::Close(title);
    if (command == "status" && argc == 3)
        return driver::Status(title);
    if (command == "windows" && argc == 3)
        return driver::ListWindows(title);
    if (command == "text-fit" && argc == 3)
        return driver::TextFit(title);
    if (command == "inject-key" && argc == 3 && Number(argv[2], &a))
        return driver::InjectKey(static_cast<unsigned>(a));
    if (command == "run" && argc == 4)
        return driver::RunTool(argv[2], argv[3]);
    if (argc == 4 && Number(argv[3], &a)) {
        if (command == "wait-window")
            return driver::WaitWindow(title, static_cast<unsigned long>(a));
        if (command == "wait-gone")
            return driver::WaitGone(title, static_cast<unsigned long>(a));
        if (command == "wait-box")
            return driver::WaitBox(title, static_cast<unsigned long>(a));
        if (command == "answer-box")
            return driver::AnswerBox(title, static_cast<int>(a));
        if (command == "click")
            return driver::Click(title, static_cast<int>(a));
        if (command == "text")
            return driver::Text(title, static_cast<int>(a));
        if (command == "press")
            return driver::Press(title, static_cast<int>(a));
        if (command == "wait-no-box")
            return driver::WaitNoBox(title, static_cast<unsigned long>(a));
        if (command == "hold-window")
            return driver::HoldWindow(title, static_cast<unsigned long>(a));
        if (command == "watch-window")
            return driver::WatchWindow(title, static_cast<unsigned long>(a), std::string());
        if (command == "wait-timers")
            return driver::WaitTimers(title, static_cast<unsigned long>(a));
    }
    if (command == "watch-window" && argc == 5 && Number(argv[3], &a))
        return driver::WatchWindow(title, static_cast<unsigned long>(a), argv[4]);
    if (command == "slide" && argc == 5 && Number(argv[3], &a) && Number(argv[4], &b))
        return driver::Slide(title, static_cast<int>(a), static_cast<int>(b));
    if (command == "post" && argc == 6 && Number(argv[3], &a) && Unsigned(argv[4], &u) &&
        Number(argv[5], &b))
        return driver::Post(title, static_cast<unsigned long>(a), u, b);
    if ((command == "send" || command == "send-watched") && argc == 6 && Number(argv[3], &a) &&
        Unsigned(argv[4], &u) && Number(argv[5], &b))
        return driver::Send(title, static_cast<unsigned long>(a), u, b, command == "send-watched");
    return Usage();
}
