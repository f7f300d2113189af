// What the program says about itself: the usage lines, the help text (kept word for word in the
// README's command reference) and the version.
#pragma once

#include "cli/arguments.h"

#include <string>

// One line per call form, each starting "FramewrightCli ".
const char* UsageOf(Command command);
// Every call form, one per line.
std::string Synopsis();
std::string HelpText();
std::string VersionText();
