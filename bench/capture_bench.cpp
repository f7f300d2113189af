// A still capture of the preview's 1920x1080 frame, against the least a capture could do: one copy
// of the frame into task memory and one write of it to a new file, through the same file functions
// (the simulated files cost both sides alike). Both count what they allocate: a capture should
// allocate as many bytes as the baseline, the frame's copy and the file's bytes, and no more.
#include "allocation_count.h"
#include "bench_tool.h"
#include "ratios.h"

#include "camera/still_capture.h"
#include "platform/constants.h"
#include "platform/files.h"
#include "platform/media_graph.h"
#include "platform/sim/sim_graph.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

// From a fresh tool, the preview running at 1920x1080; otherwise the benchmark is skipped.
bool PreviewAtFullSize(benchmark::State& state) {
    if (!StartPreviewing()) {
        state.SkipWithError("the preview did not start");
        return false;
    }
    const size_t frameBytes = sim::Graph().sample.size();
    if (frameBytes != static_cast<size_t>(sim::Rgb24Stride(kWidth) * kHeight)) {
        state.SkipWithError("the preview's frame is not 1920x1080 RGB24");
        return false;
    }
    state.counters["frame_bytes"] = static_cast<double>(frameBytes);
    return true;
}

void CopyAndWriteFrame(benchmark::State& state) {
    if (!PreviewAtFullSize(state))
        return;
    const std::vector<uint8_t>& frame = sim::Graph().sample;
    const AllocationTotals start = AllocatedSoFar();
    for (auto _ : state) {
        void* copy = platform::AllocateTaskMemory(frame.size());
        std::memcpy(copy, frame.data(), frame.size());
        platform::File file = platform::CreateFileForWriting("C:\\baseline.bmp");
        platform::WriteToFile(file, copy, static_cast<uint32_t>(frame.size()));
        platform::CloseFile(file);
        platform::FreeTaskMemory(copy);
        platform::RemoveFile("C:\\baseline.bmp"); // a new file every time, as a capture makes
    }
    ReportAllocationsSince(state, start);
}
BENCHMARK(CopyAndWriteFrame)->Unit(benchmark::kMillisecond);

void CaptureStill1920x1080(benchmark::State& state) {
    if (!PreviewAtFullSize(state))
        return;
    const AllocationTotals start = AllocatedSoFar();
    for (auto _ : state) {
        if (CaptureStill() != platform::kOk) {
            state.SkipWithError("the capture failed");
            break;
        }
    }
    ReportAllocationsSince(state, start);
}
BENCHMARK(CaptureStill1920x1080)->Unit(benchmark::kMillisecond);

const bool ratiosAdded =
    AddRatio({"still capture 1920x1080 / one copy and one write of the frame",
              "CaptureStill1920x1080", "CopyAndWriteFrame"}) &&
    AddRatio({"bytes allocated: capture / copy and write", "CaptureStill1920x1080",
              "CopyAndWriteFrame", "alloc_bytes"}) &&
    AddRatio({"bytes allocated: capture / frame size (copy + simulated file)",
              "CaptureStill1920x1080", "CaptureStill1920x1080", "alloc_bytes", "frame_bytes"}) &&
    AddRatio({"heap allocations: capture / copy and write", "CaptureStill1920x1080",
              "CopyAndWriteFrame", "heap_allocs"});

} // namespace
