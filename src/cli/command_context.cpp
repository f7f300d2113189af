#include "cli/command_context.h"

#include "cli/exit_codes.h"
#include "cli/output_format.h"
#include "cli/usage.h"
#include "core/settings_path.h"

namespace {

constexpr const char* kProgram = "FramewrightCli: ";

} // namespace

void CommandContext::Refused(const std::string& what, platform::HResult result) {
    err += kProgram + std::string("camera ") + std::to_string(invocation.camera) + " refused " +
           what + ": " + ResultCode(result) + "\n";
}

int CommandContext::Error(int exitCode, const std::string& message) {
    err += kProgram + message + "\n";
    return exitCode;
}

bool CommandContext::ChooseSettingsPath(int* exitCode) {
    if (invocation.settings.empty()) {
        ComputeSettingsPath();
        return true;
    }
    if (UseSettingsPath(invocation.settings.c_str()))
        return true;
    err += UsageMessage("--settings: the path is longer than the file functions take",
                        UsageOf(invocation.command));
    *exitCode = kExitArguments;
    return false;
}

std::string UsageMessage(const std::string& problem, const std::string& usage) {
    std::string text = kProgram + problem + "\n";
    const char* lead = "usage: ";
    size_t start = 0;
    while (start < usage.size()) {
        size_t end = usage.find('\n', start);
        if (end == std::string::npos)
            end = usage.size();
        text += lead + usage.substr(start, end - start) + "\n";
        lead = "       ";
        start = end + 1;
    }
    return text + "(FramewrightCli --help tells more)\n";
}
