// driver.exe: drives the real Framewright.exe from outside, through window messages, for the
// tests that run under Wine. Usage: driver.exe SUBCOMMAND ARGS... (the table below), or
// driver.exe serve: one subcommand per line on stdin, its arguments separated by tabs; each
// answer is the subcommand's output followed by the line "@end CODE". One driver then serves a
// whole scenario instead of one Wine start per click.
#include "driver_commands.h"
#include "driver_windows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One subcommand as given: [0] its name, then its arguments (a left-out optional one is empty);
// n(i) is argument i read as a number, window the main window a WINDOW argument names.
struct Call {
    std::vector<std::string> words;
    long long numbers[8] = {};
    HWND window = nullptr;
    const std::string& operator[](size_t i) const { return words[i]; }
    long long n(size_t i) const { return numbers[i]; }
};

struct Command {
    const char* name;
    // The arguments as the usage shows them; [NAME] may be left out. WINDOW is the title of a main
    // window that is there (the command fails when it is not); those named TITLE, CAPTION, PROGRAM
    // or ..._FILE or ..._TEXT are text, every other one a number (decimal or with 0x).
    const char* arguments;
    int (*run)(const Call& c);
};

using namespace driver;

const Command kCommands[] = {
    {"wait-window", "TITLE MS", [](const Call& c) { return WaitWindow(c[1], c.n(2)); }},
    {"wait-ready", "TITLE MS", [](const Call& c) { return WaitReady(c[1], c.n(2)); }},
    {"controls", "WINDOW", [](const Call& c) { return ListControls(c.window); }},
    {"client", "WINDOW", [](const Call& c) { return Client(c.window); }},
    {"close", "WINDOW", [](const Call& c) { return Post(c.window, WM_CLOSE, 0, 0); }},
    {"status", "WINDOW", [](const Call& c) { return Status(c.window); }},
    {"click", "WINDOW ID", [](const Call& c) { return Click(c.window, c.n(2)); }},
    {"press", "WINDOW ID", [](const Call& c) { return Press(c.window, c.n(2)); }},
    {"text", "WINDOW ID", [](const Call& c) { return Text(c.window, c.n(2)); }},
    {"slide", "WINDOW ID POS", [](const Call& c) { return Slide(c.window, c.n(2), c.n(3)); }},
    {"post", "WINDOW MSG WPARAM LPARAM",
     [](const Call& c) { return Post(c.window, c.n(2), c.n(3), c.n(4)); }},
    {"device-notice", "WINDOW EVENT_TEXT PATH_TEXT FORM_TEXT",
     [](const Call& c) { return DeviceNotice(c.window, c[2], c[3], c[4]); }},
    {"send-watched", "WINDOW MSG WPARAM LPARAM",
     [](const Call& c) { return SendWatched(c.window, c.n(2), c.n(3), c.n(4)); }},
    {"wait-box", "CAPTION MS", [](const Call& c) { return WaitBox(c[1], c.n(2)); }},
    {"answer-box", "CAPTION BUTTONID", [](const Call& c) { return AnswerBox(c[1], c.n(2)); }},
    {"wait-no-box", "CAPTION MS", [](const Call& c) { return WaitNoBox(c[1], c.n(2)); }},
    {"hold-window", "TITLE SECONDS", [](const Call& c) { return HoldWindow(c[1], c.n(2)); }},
    {"windows", "TITLE", [](const Call& c) { return ListWindows(c[1]); }},
    {"watch-window", "WINDOW MS [STOP_FILE]",
     [](const Call& c) { return WatchWindow(c.window, c.n(2), c[3]); }},
    {"inject-key", "VK", [](const Call& c) { return InjectKey(c.n(1)); }},
    {"wait-timers", "WINDOW PERIOD_MS", [](const Call& c) { return WaitTimers(c.window, c.n(2)); }},
    {"text-fit", "WINDOW", [](const Call& c) { return TextFit(c.window); }},
    {"run", "EXIT_FILE PROGRAM", [](const Call& c) { return RunTool(c[1], c[2]); }},
};

int Usage() {
    std::fputs("usage: driver.exe SUBCOMMAND ARGUMENTS, or driver.exe serve (one subcommand a "
               "line, arguments separated by tabs)\n",
               stderr);
    for (const Command& command : kCommands)
        std::fprintf(stderr, "  %s %s\n", command.name, command.arguments);
    return 1;
}

bool IsText(const std::string& argument) {
    for (const char* text : {"TITLE", "CAPTION", "PROGRAM", "FILE", "TEXT"})
        if (argument.find(text) != std::string::npos)
            return true;
    return false;
}

int Dispatch(const std::vector<std::string>& words) {
    const Command* command = nullptr;
    for (const Command& known : kCommands)
        if (!words.empty() && words[0] == known.name)
            command = &known;
    if (!command)
        return Usage();
    Call call{words};
    std::istringstream arguments(command->arguments);
    size_t i = 1;
    for (std::string argument; arguments >> argument; ++i) {
        if (i >= words.size()) {
            if (argument[0] != '[')
                return Usage();
            call.words.emplace_back();
        } else if (argument == "WINDOW") {
            if (!(call.window = MainWindow(words[i])))
                return 1;
        } else if (!IsText(argument)) {
            char* end = nullptr;
            call.numbers[i] = static_cast<long long>(std::strtoull(words[i].c_str(), &end, 0));
            if (end == words[i].c_str() || *end != '\0')
                return Usage();
        }
    }
    return words.size() > i ? Usage() : command->run(call);
}

// Reads subcommands until stdin ends.
int Serve() {
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // With a tab after the last field, every field (an empty last one too) ends with one.
        std::istringstream fields(line + '\t');
        std::vector<std::string> words;
        for (std::string word; std::getline(fields, word, '\t');)
            words.push_back(word);
        const int code = Dispatch(words);
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
    return Dispatch(std::vector<std::string>(argv + 1, argv + argc));
}
