// The command line: one command, its options and its properties, checked completely before any
// camera is asked anything.
#pragma once

#include "cli/property_names.h"

#include <cstdint>
#include <string>
#include <vector>

enum class Command {
    Help,
    Version,
    List,
    Get,
    Set,
    Apply,
    Save,
    Identify,
    Capture,
    Formats,
    Watch
};

struct Invocation {
    Command command = Command::Help;
    int camera = 1; // as the panel numbers the cameras, 1 to 6
    bool json = false;
    std::string settings; // empty: Framewright.ini in the current folder
    std::string out;
    int32_t width = 0; // with height; 0 when not given
    int32_t height = 0;
    uint32_t timeoutMs = 3000;
    // How long the camera runs after its first frame before the frame is taken: long enough for
    // a webcam's automatic exposure to settle (reports ask for 5 to 25 frames, up to 0.85 s at
    // 30 frames a second). 0 takes the first frame.
    uint32_t settleMs = 1000;
    uint32_t verifySeconds = 0;            // watch: 0 reads nothing back
    std::vector<NamedProperty> properties; // get: none means all
    std::vector<Assignment> assignments;   // set
};

// False for arguments that do not make a call; problem then says why and usage is the usage line
// of the command named (the whole synopsis when none was recognised).
bool ParseArguments(const std::vector<std::string>& args, Invocation* invocation,
                    std::string* problem, std::string* usage);
