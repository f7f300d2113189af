// A slider notification (the brightness slider dragged: WM_HSCROLL to the main window, the status
// text, the record and the camera's brightness written), against the one camera request it must
// make, sent through the platform on its own: the interface queried, the value set, the interface
// released. Both count the camera requests they make; the notification should make one, at once.
#include "bench_tool.h"
#include "camera/capture_filters.h"
#include "core/camera_property.h"
#include "core/control_ids.h"
#include "platform/held.h"
#include "platform/media.h"
#include "platform/sim/sim_desktop.h"
#include "ratios.h"

#include <benchmark/benchmark.h>

namespace {

// Positions 1 to 255 in turn, so that every notification asks for a new value.
int32_t NextPosition(int32_t& counter) {
    return (counter++ % 255) + 1;
}

void ReportRequests(benchmark::State& state, SimRecordsKeeper& records) {
    state.counters["camera_requests"] = benchmark::Counter(static_cast<double>(records.Requests()),
                                                           benchmark::Counter::kAvgIterations);
}

void WriteBrightnessOnce(benchmark::State& state) {
    if (!StartPreviewing()) {
        state.SkipWithError("the preview did not start");
        return;
    }
    SimRecordsKeeper records;
    int32_t counter = 0;
    for (auto _ : state) {
        platform::Held<platform::VideoProcAmp> amp;
        platform::QueryVideoProcAmp(CaptureFilters[0], amp.Receive());
        platform::ProcAmpSet(amp.Get(), procamp::Brightness, NextPosition(counter), kFlagsManual);
        records.Iteration();
    }
    ReportRequests(state, records);
}
BENCHMARK(WriteBrightnessOnce)->Unit(benchmark::kMicrosecond);

void MoveBrightnessSlider(benchmark::State& state) {
    if (!StartPreviewing()) {
        state.SkipWithError("the preview did not start");
        return;
    }
    SimRecordsKeeper records;
    int32_t counter = 0;
    for (auto _ : state) {
        sim::MoveSlider(IDC_TBBRIGHT, NextPosition(counter));
        records.Iteration();
    }
    ReportRequests(state, records);
}
BENCHMARK(MoveBrightnessSlider)->Unit(benchmark::kMicrosecond);

const bool ratiosAdded =
    AddRatio({"slider notification / one brightness write", "MoveBrightnessSlider",
              "WriteBrightnessOnce"}) &&
    AddRatio({"camera requests: slider notification / one brightness write", "MoveBrightnessSlider",
              "WriteBrightnessOnce", "camera_requests"});

} // namespace
