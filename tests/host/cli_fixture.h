// The command-line program run in the test's own process against the simulated desktop: its exit
// code and both streams, and the camera requests it made.
#pragma once

#include "cli/cli_main.h"
#include "fixture.h"
#include "platform/files.h"
#include "request_log.h"

#include <ostream>
#include <string>
#include <vector>

// One call's result, compared whole so that a failure shows every part of both.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
    bool operator==(const CliRun& o) const {
        return code == o.code && out == o.out && err == o.err;
    }
};
inline std::ostream& operator<<(std::ostream& s, const CliRun& run) {
    return s << "{exit " << run.code << ", stdout:\n" << run.out << "stderr:\n" << run.err << "}";
}

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
    // A new process's view with one vendor camera attached: where each row of a table starts.
    static void RestartWithCamera() {
        Restart();
        AddVendorCamera();
    }
    // A vendor camera whose values all differ from the vendor camera's starting ones.
    static sim::SimCamera ChangedCamera(const std::u16string& name = u"Parvanex Changed") {
        sim::SimCamera c = sim::VendorCamera(name);
        c.procAmp[0].value = 77;                                // brightness, manual
        c.procAmp[7].flags = 2;                                 // white balance manual
        c.procAmp[7].value = 5100;                              //
        c.procAmp[13].value = 2;                                // 60 Hz
        c.cameraControl[6] = {c.cameraControl[6].range, 40, 2}; // manual focus
        c.vendor[3] = {0, 0, 0, 250};                           // zoom
        c.vendor[5] = {2, 0, 0, 500};                           // manual exposure, 500
        c.vendor[7] = {0, 0, 0, 1, 0};                          // LED on
        return c;
    }
};
