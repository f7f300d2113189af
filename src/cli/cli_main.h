// The command-line program: one call, one action on the cameras, its report on the two streams and
// the exit code (cli/exit_codes.h). The platform's entry point hands over the arguments and writes
// the streams out; host tests call it directly.
#pragma once

#include <string>
#include <vector>

// args: the arguments after the program's name. Returns the exit code.
int CliMain(const std::vector<std::string>& args, std::string& out, std::string& err);
// Arguments as the platform gives them (UTF-16) in UTF-8, so that a path in any script reaches the
// file functions unchanged (platform::UseUtf8Paths). False for an argument that is no text (a
// lone surrogate), with the problem said in problem.
bool Utf8Arguments(const std::vector<std::u16string>& args, std::vector<std::string>* utf8,
                   std::string* problem);
// The program as the platform's entry point starts it: the arguments in UTF-8 (exit 2 for one that
// is no text), the paths of the file functions in UTF-8 from then on, then CliMain.
int CliMainOfCommandLine(const std::vector<std::u16string>& args, std::string& out,
                         std::string& err);
