// Runs the benchmarks with Google Benchmark's flags (--benchmark_filter, --benchmark_repetitions,
// --benchmark_out and so on), then prints each ratio of a measured case to its baseline. Exits
// with 1 when a benchmark could not run (its set-up failed, or the tool reported an error).
#include "ratios.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <malloc.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // glibc gives a freed block of megabytes back to the system when the top of the heap is free,
    // and the next allocation faults its pages in again. The capture's baseline frees all it
    // allocated and paid that every iteration, ten times the capture's time, while a capture keeps
    // the last image's file alive and did not: freed memory is kept, so that both sides pay the
    // allocator alone.
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest glibc takes
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                 : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(std::cout);
    benchmark::Shutdown();
    return reporter.AnyFailed() ? 1 : 0;
}
