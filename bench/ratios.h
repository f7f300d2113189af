// The figures the benchmarks report, each beside its baseline from the same run. A machine shared
// with other work makes absolute times wander from run to run; the ratio of two neighbouring
// benchmarks moves far less, so the ratios are what compares between runs.
#pragma once

#include <benchmark/benchmark.h>

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

struct Ratio {
    const char* label;
    const char* measured; // benchmark function names
    const char* baseline;
    // A counter of the measured benchmark and one of the baseline; null compares the time per
    // iteration (the CPU time, or the time taken by hand in a benchmark that uses manual time).
    // A null baselineCounter takes the same counter as the measured side.
    const char* counter = nullptr;
    const char* baselineCounter = nullptr;
};

// Registers a ratio to print after the run; returns true, for a registration at namespace scope
// beside the benchmarks it compares.
bool AddRatio(const Ratio& ratio);

// The console output, with the figures of every run kept for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    using ConsoleReporter::ConsoleReporter;
    void ReportRuns(const std::vector<Run>& runs) override;

    // Every registered ratio whose two sides ran, from the median of each side's repetitions.
    void PrintRatios(std::ostream& out) const;
    bool AnyFailed() const { return failed_; }

  private:
    struct Series {
        std::vector<double> seconds; // per iteration
        std::map<std::string, std::vector<double>> counters;
    };
    struct Figures {
        size_t order = 0; // when the benchmark first reported
        Series runs;
        // The "median" aggregate of repetitions, for a run that shows the aggregates alone
        // (--benchmark_display_aggregates_only).
        Series medians;
    };
    const std::vector<double>* Values(const char* benchmark, const char* counter) const;

    std::map<std::string, Figures> figures_;
    bool failed_ = false;
};
