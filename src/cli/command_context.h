// What every command works with: the checked invocation, the two output streams as text, and the
// ways a command reports a refusal or an error.
#pragma once

#include "cli/arguments.h"
#include "platform/types.h"

#include <string>

struct CommandContext {
    const Invocation& invocation;
    std::string& out;
    std::string& err;

    // The camera's slot, 0 to 5, from its number on the panel.
    int Slot() const { return invocation.camera - 1; }
    // "camera N refused WHAT: 0x80070057" on stderr.
    void Refused(const std::string& what, platform::HResult result);
    // The message on stderr; returns the exit code.
    int Error(int exitCode, const std::string& message);
    // The settings file of --settings, else Framewright.ini in the current folder, as the
    // settings path (core/settings_path.h); false, with exit code 2 told, for a name too long.
    bool ChooseSettingsPath(int* exitCode);
};

// "FramewrightCli: PROBLEM", then the usage line(s).
std::string UsageMessage(const std::string& problem, const std::string& usage);
