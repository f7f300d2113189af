// run: starts the tool, waits for it and writes its exit code, as Windows reports it, to a file.
// The exit status of the Unix process is not that code: once a process has ended its last thread,
// Wine's server kills the Unix process with SIGKILL when it has not gone within about half a
// second, which under load happened after a clean exit with code 0 (the test then saw 137).
#include "driver_commands.h"
#include "driver_windows.h"

#include <cstdio>
#include <string>

namespace driver {

int RunTool(const std::string& exitFile, const std::string& program) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // The tool inherits the driver's environment and current folder.
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return Fail("CreateProcess(%s) failed: %lu\n", program.c_str(), GetLastError());
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const BOOL known = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    if (!known)
        return Fail("GetExitCodeProcess failed: %lu\n", GetLastError());
    FILE* file = std::fopen(exitFile.c_str(), "w");
    if (!file || std::fprintf(file, "%lu\n", static_cast<unsigned long>(code)) < 0 ||
        std::fclose(file) != 0)
        return Fail("cannot write %s\n", exitFile.c_str());
    return static_cast<int>(code & 0xFF);
}

} // namespace driver
