// FramewrightCli watch's reaction to an arrival: from the capture device notice to the last write
// of the arriving camera's section, with the notice 200 ms (virtual) before the camera can be
// bound, as a notice that comes early does; against the least work that gives the same writes: the
// section read and applied to a camera already bound. The real time of each side is taken by hand;
// the counters give the virtual milliseconds from the notice and from the moment the camera could
// be bound to the last write.
#include "../tests/common/fresh_tool.h"
#include "bench_tool.h"
#include "camera/capture_filters.h"
#include "cli/cli_main.h"
#include "core/shell_state.h"
#include "platform/constants.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "properties/camera_records.h"
#include "ratios.h"
#include "settings/settings_file.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint64_t kNoticeAt = 100;
constexpr uint64_t kBindableAt = 300;

// A fresh tool with one camera and the file a save writes for it.
bool CameraAndSavedFile() {
    RestartTool();
    sim::AddCamera(sim::VendorCamera(u"Parvanex Bench"));
    std::string out, err;
    const bool saved = CliMain({"save"}, out, err) == 0;
    ReleaseCaptureFilters();
    sim::Requests().clear();
    return saved;
}

void WatchArrivalToLastWrite(benchmark::State& state) {
    double fromNotice = 0, fromBindable = 0;
    for (auto _ : state) {
        if (!CameraAndSavedFile()) {
            state.SkipWithError("no settings file saved");
            break;
        }
        sim::Unplug(0);
        Clock::time_point noticeSent, lastWrite;
        uint64_t lastWriteAt = 0;
        sim::BeforeRequest() = [&](int, sim::Interface, sim::Direction direction, int32_t) {
            if (direction == sim::Direction::Set) {
                lastWrite = Clock::now();
                lastWriteAt = sim::TheDesktop().now;
            }
        };
        const std::u16string path = sim::Camera(0).devicePath;
        sim::At(kNoticeAt, [&] {
            noticeSent = Clock::now();
            sim::CaptureDeviceNotice(platform::dbt::DeviceArrival, path);
        });
        sim::At(kBindableAt, [] { sim::Plug(0); });
        sim::At(kBindableAt + 1000, [] { sim::ConsoleStop(); });
        std::string out, err;
        const int code = CliMain({"watch"}, out, err);
        sim::BeforeRequest() = nullptr;
        if (code != 0 || lastWriteAt < kBindableAt) {
            state.SkipWithError("the arrival's section was not written");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(lastWrite - noticeSent).count());
        fromNotice += static_cast<double>(lastWriteAt - kNoticeAt);
        fromBindable += static_cast<double>(lastWriteAt - kBindableAt);
    }
    state.counters["virtual_ms_from_notice"] =
        benchmark::Counter(fromNotice, benchmark::Counter::kAvgIterations);
    state.counters["virtual_ms_from_bindable"] =
        benchmark::Counter(fromBindable, benchmark::Counter::kAvgIterations);
}
BENCHMARK(WatchArrivalToLastWrite)->UseManualTime()->Unit(benchmark::kMicrosecond);

void SectionReadAndApplied(benchmark::State& state) {
    for (auto _ : state) {
        if (!CameraAndSavedFile()) {
            state.SkipWithError("no settings file saved");
            break;
        }
        Shell.camerasFound = DiscoverCameras();
        const std::string path = SettingsFilePath();
        const Clock::time_point begin = Clock::now();
        const bool read = ReadStoredCamera(0, path.c_str()) == StoredCameras::Loaded;
        Shell.selectedCamera = 0;
        ApplyCameraSettings();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begin).count());
        ReleaseCaptureFilters();
        if (!read) {
            state.SkipWithError("the section was not read");
            break;
        }
    }
}
BENCHMARK(SectionReadAndApplied)->UseManualTime()->Unit(benchmark::kMicrosecond);

const bool ratioAdded =
    AddRatio({"watch: arrival notice to the section's last write / the section read and applied",
              "WatchArrivalToLastWrite", "SectionReadAndApplied"});

} // namespace
