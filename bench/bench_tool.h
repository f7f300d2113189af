// The steps the benchmark rounds share: start the tool on the simulated desktop, start a preview,
// and keep the simulated desktop's records from growing through millions of iterations.
#pragma once

#include <cstdint>
#include <string>

std::string SettingsFilePath();

// Runs start-up and the message loop until the tool waits for input; the exit code.
int StartTool();

// From a fresh tool: one camera, a settings file that names the image path, the tool started and
// the preview running. False when the preview did not start.
bool StartPreviewing();

// Empties the simulated desktop's records of camera requests, texts, calls and passed key events;
// returns the number of camera requests among them.
uint64_t ForgetSimRecords();

// The simulated desktop records every camera request, text and call for the tests to inspect. A
// loop of millions of iterations would time those records' growth (and fill the memory), so a
// loop forgets them every 1024 iterations, on the baseline's side as on the measured side, and
// counts the camera requests as it goes.
class SimRecordsKeeper {
  public:
    SimRecordsKeeper() { ForgetSimRecords(); }
    void Iteration() {
        if (++iterations_ % 1024 == 0)
            requests_ += ForgetSimRecords();
    }
    // The camera requests made since the keeper was made.
    uint64_t Requests() {
        requests_ += ForgetSimRecords();
        return requests_;
    }

  private:
    uint64_t iterations_ = 0;
    uint64_t requests_ = 0;
};
