// The Print-key hook sees every key event of the desktop. On an ordinary key it should cost little
// more than what it must do anyway: hand the event straight on to the next hook.
#include "../tests/common/fresh_tool.h"
#include "app/print_key_hook.h"
#include "bench_tool.h"
#include "platform/constants.h"
#include "platform/window_system.h"
#include "ratios.h"

#include <benchmark/benchmark.h>

namespace {

const platform::KeyEvent kOrdinaryKey{0x41, 0}; // 'A', pressed by hand

void PassKeyStraightOn(benchmark::State& state) {
    RestartTool();
    SimRecordsKeeper records;
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::PassKeyEventOn(0, platform::msg::KeyDown, kOrdinaryKey));
        records.Iteration();
    }
}
BENCHMARK(PassKeyStraightOn);

void PrintKeyHookOnOrdinaryKey(benchmark::State& state) {
    RestartTool();
    SimRecordsKeeper records;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PrintKeyHookProcedure(0, platform::msg::KeyDown, kOrdinaryKey));
        records.Iteration();
    }
}
BENCHMARK(PrintKeyHookOnOrdinaryKey);

const bool ratioAdded = AddRatio({"Print-key hook on an ordinary key / passing the event on",
                                  "PrintKeyHookOnOrdinaryKey", "PassKeyStraightOn"});

} // namespace
