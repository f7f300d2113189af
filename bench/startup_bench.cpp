// A start-up with six cameras and a settings file (windows, discovery, the file read and checked,
// the stored values applied), against the least any start-up with them must do: list the six
// cameras, reading the name and binding the capture filter of each, and read the file's camera
// count. Each iteration starts from a fresh tool with the cameras attached and the file written.
// That preparation is left out of the time, which is taken by hand: pausing Google Benchmark's
// timer costs about a microsecond an iteration, a quarter of the baseline.
#include "../tests/common/fresh_tool.h"
#include "bench_tool.h"
#include "core/shell_state.h"
#include "platform/held.h"
#include "platform/media.h"
#include "platform/profile.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "ratios.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

constexpr int kCameras = 6;

void AttachSixCamerasAndFile() {
    RestartTool();
    for (int i = 0; i < kCameras; ++i)
        sim::AddCamera(sim::VendorCamera(u"Parvanex Bench " + std::u16string(1, u'1' + i)));
    sim::Files().files[SettingsFilePath()] = "[General]\r\nNumberOfCameras=6\r\n";
}

// Times `work` alone in every iteration, after a fresh preparation; `work` returns false when it
// did not do what it should, which skips the benchmark with `failure`.
template <class Work>
void TimeFromSixCameras(benchmark::State& state, const char* failure, Work work) {
    for (auto _ : state) {
        AttachSixCamerasAndFile();
        const auto begin = std::chrono::steady_clock::now();
        const bool done = work();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - begin;
        state.SetIterationTime(spent.count());
        if (!done) {
            state.SkipWithError(failure);
            break;
        }
    }
}

int ListCameras() {
    platform::Held<platform::DeviceList> devices;
    platform::OpenDeviceList(platform::DeviceCategory::VideoInput, devices.Receive());
    int listed = 0;
    while (platform::Device next = platform::NextDevice(devices.Get())) {
        platform::Held<platform::Device> device(next);
        std::u16string name;
        platform::ReadFriendlyName(device.Get(), &name);
        platform::Held<platform::Filter> filter(platform::BindFilter(device.Get()));
        listed += filter ? 1 : 0;
    }
    return listed;
}

void ListCamerasAndReadFile(benchmark::State& state) {
    const std::string path = SettingsFilePath();
    TimeFromSixCameras(state, "the six cameras or the file's count were not read", [&path] {
        const int listed = ListCameras();
        const int32_t stored =
            platform::ReadProfileInt("General", "NumberOfCameras", -1, path.c_str());
        return listed == kCameras && stored == kCameras;
    });
}
BENCHMARK(ListCamerasAndReadFile)->UseManualTime()->Unit(benchmark::kMicrosecond);

void StartWithSixCameras(benchmark::State& state) {
    TimeFromSixCameras(state, "the tool did not start with six cameras", [] {
        return StartTool() == sim::kLoopIdle && Shell.camerasFound == kCameras;
    });
}
BENCHMARK(StartWithSixCameras)->UseManualTime()->Unit(benchmark::kMicrosecond);

const bool ratioAdded = AddRatio({"start-up with six cameras and a file / listing them, reading it",
                                  "StartWithSixCameras", "ListCamerasAndReadFile"});

} // namespace
