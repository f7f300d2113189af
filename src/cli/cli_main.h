// The command-line program: one call, one action on the cameras, its report on the two streams and
// the exit code (cli/exit_codes.h). The platform's entry point hands over the arguments and writes
// the streams out; host tests call it directly.
#pragma once

#include <string>
#include <vector>

// args: the arguments after the program's name. Returns the exit code.
int CliMain(const std::vector<std::string>& args, std::string& out, std::string& err);
// Arguments as the platform gives them (UTF-16), narrowed as the tool narrows device names: the
// low 8 bits of every unit.
std::vector<std::string> NarrowArguments(const std::vector<std::u16string>& args);
