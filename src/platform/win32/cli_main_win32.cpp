// The command-line program's Windows entry point, a console program: the arguments come from the
// process's command line in UTF-16 and reach the program in UTF-8, as its paths then reach the
// wide file functions; what the program reports goes to the standard output and error streams
// (paths in UTF-8, as given), and its exit code is the process's.
#include "platform/win32/windows_headers_win32.h"

#include "cli/cli_main.h"

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The arguments after the program's name; none when the command line cannot be split (the
// program then says that no command was given).
std::vector<std::u16string> CommandLineArguments() {
    std::vector<std::u16string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i) {
        std::u16string arg;
        for (const wchar_t* c = wide[i]; *c; ++c)
            arg.push_back(static_cast<char16_t>(*c));
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
}

void Write(const std::string& text, FILE* stream) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

} // namespace

int main() {
    std::string out, err;
    const int exitCode = CliMainOfCommandLine(CommandLineArguments(), out, err);
    Write(out, stdout);
    Write(err, stderr);
    return exitCode;
}
