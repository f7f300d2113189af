// driver.exe: drives the real Framewright.exe from outside, through window messages, for the
// tests that run under Wine. Usage: driver.exe SUBCOMMAND ARGS... (see Usage below), or
// driver.exe serve: one subcommand per line on stdin, its arguments separated by tabs; each
// answer is the subcommand's output followed by the line "@end CODE". One driver then serves a
// whole scenario instead of one Wine start per click.
#include "driver_commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

int Usage() {
    std::fputs("usage: driver.exe\n"
               "  serve (subcommands below, one per line, arguments separated by tabs)\n"
               "  wait-window TITLE TIMEOUT_MS | wait-ready TITLE TIMEOUT_MS\n"
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
bool Number(const std::string& text, long long* value) {
    char* end = nullptr;
    *value = std::strtoll(text.c_str(), &end, 0);
    return end != text.c_str() && *end == '\0';
}

bool Unsigned(const std::string& text, unsigned long long* value) {
    char* end = nullptr;
    *value = std::strtoull(text.c_str(), &end, 0);
    return end != text.c_str() && *end == '\0';
}

// One subcommand: args[0] is its name, the rest its arguments.
int Dispatch(const Arguments& args) {
    const size_t n = args.size();
    if (n < 2)
        return Usage();
    const std::string& command = args[0];
    const std::string& title = args[1];
    long long a = 0;
    long long b = 0;
    unsigned long long u = 0;
    if (n == 2) {
        if (command == "controls")
            return driver::ListControls(title);
        if (command == "client")
            return driver::Client(title);
        if (command == "close")
            return driver::Close(title);
        if (command == "status")
            return driver::Status(title);
        if (command == "windows")
            return driver::ListWindows(title);
        if (command == "text-fit")
            return driver::TextFit(title);
        if (command == "inject-key" && Number(title, &a))
            return driver::InjectKey(static_cast<unsigned>(a));
    }
    if (command == "device-notice" && n == 5) return driver::DeviceNotice(title, args[2], args[3], args[4]);
    if (command == "run" && n == 3)
        return driver::RunTool(args[1], args[2]);
    if (n == 3 && Number(args[2], &a)) {
        const auto ms = static_cast<unsigned long>(a);
        if (command == "wait-window")
            return driver::WaitWindow(title, ms);
        if (command == "wait-ready")
            return driver::WaitReady(title, ms);
        if (command == "wait-box")
            return driver::WaitBox(title, ms);
        if (command == "answer-box")
            return driver::AnswerBox(title, static_cast<int>(a));
        if (command == "click")
            return driver::Click(title, static_cast<int>(a));
        if (command == "text")
            return driver::Text(title, static_cast<int>(a));
        if (command == "press")
            return driver::Press(title, static_cast<int>(a));
        if (command == "wait-no-box")
            return driver::WaitNoBox(title, ms);
        if (command == "hold-window")
            return driver::HoldWindow(title, static_cast<unsigned long>(a)); // seconds
        if (command == "watch-window")
            return driver::WatchWindow(title, ms, std::string());
        if (command == "wait-timers")
            return driver::WaitTimers(title, ms);
    }
    if (command == "watch-window" && n == 4 && Number(args[2], &a))
        return driver::WatchWindow(title, static_cast<unsigned long>(a), args[3]);
    if (command == "slide" && n == 4 && Number(args[2], &a) && Number(args[3], &b))
        return driver::Slide(title, static_cast<int>(a), static_cast<int>(b));
    if (command == "post" && n == 5 && Number(args[2], &a) && Unsigned(args[3], &u) &&
        Number(args[4], &b))
        return driver::Post(title, static_cast<unsigned long>(a), u, b);
    if ((command == "send" || command == "send-watched") && n == 5 && Number(args[2], &a) &&
        Unsigned(args[3], &u) && Number(args[4], &b))
        return driver::Send(title, static_cast<unsigned long>(a), u, b, command == "send-watched");
    return Usage();
}

Arguments SplitAtTabs(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    Arguments args;
    size_t from = 0;
    for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        args.push_back(line.substr(from, tab - from));
    args.push_back(line.substr(from));
    return args;
}

// Reads subcommands until stdin ends. A line longer than the buffer is read in pieces and joined.
int Serve() {
    std::string line;
    char piece[4096];
    while (std::fgets(piece, sizeof piece, stdin)) {
        line += piece;
        if (line.back() != '\n')
            continue;
        const int code = Dispatch(SplitAtTabs(line));
        line.clear();
        std::fflush(stderr);
        std::printf("@end %d\n", code);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // The tests read the output as soon as a subcommand ends; no buffering surprises on a pipe.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc == 2 && std::strcmp(argv[1], "serve") == 0)
        return Serve();
    return Dispatch(Arguments(argv + 1, argv + argc));
}
