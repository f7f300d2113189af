// The command-line program run in the test's own process against the simulated desktop: its exit
// code and both streams, and the camera requests it made.
#pragma once

#include "cli/cli_main.h"
#include "fixture.h"
#include "platform/files.h"
#include "request_log.h"

#include <string>
#include <vector>

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

class CliTest : public SimTest {
  protected:
    // A call of the program; a call that ends the process (as InitAndExit would) fails the test.
    static CliRun Cli(const std::vector<std::string>& args) {
        CliRun run;
        platform::UseUtf8Paths(); // as the program's entry point does
        try {
            run.code = CliMain(args, run.out, run.err);
        } catch (const sim::ProcessExit& exit) {
            ADD_FAILURE() << "the program ended the process with code " << exit.code;
        }
        return run;
    }
};
