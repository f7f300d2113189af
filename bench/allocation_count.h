// What a benchmark's rounds allocate: the process's heap, counted by the benchmark's own operator
// new, and the task memory that the simulated media graph hands out (a captured frame's copy).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

struct AllocationTotals {
    uint64_t heapAllocations = 0;
    uint64_t bytes = 0; // heap and task memory
};

AllocationTotals AllocatedSoFar();

// Sets the counters "heap_allocs" and "alloc_bytes" to what was allocated since `start`, per
// iteration.
void ReportAllocationsSince(benchmark::State& state, const AllocationTotals& start);
