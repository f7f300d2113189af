#include "allocation_count.h"

#include "platform/sim/sim_graph.h"

#include <cstdlib>
#include <new>

namespace {

// The benchmarks run on one thread; Google Benchmark starts none of its own.
uint64_t heapAllocations = 0;
uint64_t heapBytes = 0;

} // namespace

// The array forms and the nothrow forms of the standard library call these.
void* operator new(size_t size) {
    ++heapAllocations;
    heapBytes += size;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

AllocationTotals AllocatedSoFar() {
    return {heapAllocations, heapBytes + sim::Graph().taskBytes};
}

void ReportAllocationsSince(benchmark::State& state, const AllocationTotals& start) {
    const AllocationTotals now = AllocatedSoFar();
    state.counters["heap_allocs"] =
        benchmark::Counter(static_cast<double>(now.heapAllocations - start.heapAllocations),
                           benchmark::Counter::kAvgIterations);
    state.counters["alloc_bytes"] = benchmark::Counter(static_cast<double>(now.bytes - start.bytes),
                                                       benchmark::Counter::kAvgIterations);
}
