// Measures what the operator feels, against a baseline of the least work that could do the same,
// and prints each ratio beside its baseline in one run (the machines are noisy: compare ratios,
// not absolute times, between runs):
//   - a still capture of a 1920x1080 frame against one copy of the frame and one file write;
//   - the bytes a capture allocates against the frame's size (the frame is copied once);
//   - the Print-key hook on an ordinary key against passing the event straight on;
//   - a slider notification, and the camera requests it makes (one, at once);
//   - a start-up with six cameras and a settings file.
#include "../tests/common/fresh_tool.h"
#include "app/app_main.h"
#include "app/print_key_hook.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "camera/still_capture.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "platform/constants.h"
#include "platform/files.h"
#include "platform/media_graph.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_graph.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

size_t bytesAllocated = 0;

double SecondsOf(void (*work)(), int repeats) {
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i)
        work();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - begin;
    return spent.count() / repeats;
}

std::string IniPath() {
    return sim::Files().currentDirectory + "\\Framewright.ini";
}

int StartTool() {
    try {
        return AppMain(nullptr);
    } catch (const sim::ProcessExit& exit) {
        return exit.code;
    }
}

void StartPreviewing() {
    FreshTool();
    sim::AddCamera(sim::VendorCamera(u"Parvanex Bench"));
    sim::Files().files[IniPath()] = "[General]\r\nImageSavePath=C:\\bench.bmp\r\n";
    StartTool();
    sim::Click(IDC_BTPREVW);
    if (sim::Graph().state != 2) {
        std::fprintf(stderr, "the preview did not start\n");
        std::exit(1);
    }
}

void Capture() {
    if (CaptureStill() != platform::kOk)
        std::exit(1);
}

// The least a capture can do: copy the frame once and write it in one block through the same
// file operations (so the simulated files cost both sides alike).
std::vector<uint8_t> baselineFrame;
void CopyAndWrite() {
    void* copy = platform::AllocateTaskMemory(baselineFrame.size());
    std::memcpy(copy, baselineFrame.data(), baselineFrame.size());
    platform::File file = platform::CreateFileForWriting("C:\\baseline.bmp");
    platform::WriteToFile(file, copy, static_cast<uint32_t>(baselineFrame.size()));
    platform::CloseFile(file);
    platform::FreeTaskMemory(copy);
    platform::RemoveFile("C:\\baseline.bmp"); // a new file every time, as a capture makes
}

// Heap and task memory together: the frame copy is task memory.
size_t BytesAllocatedBy(void (*work)()) {
    const size_t before = bytesAllocated + sim::Graph().taskBytes;
    work();
    return bytesAllocated + sim::Graph().taskBytes - before;
}

platform::KeyEvent ordinaryKey{0x41, 0};
void HookOnOrdinaryKey() {
    PrintKeyHookProcedure(0, platform::msg::KeyDown, ordinaryKey);
}
void PassStraightOn() {
    platform::PassKeyEventOn(0, platform::msg::KeyDown, ordinaryKey);
}

int sliderPosition = 0;
void MoveBrightness() {
    sim::MoveSlider(IDC_TBBRIGHT, (sliderPosition++ % 255) + 1);
}

void StartWithSixCameras() {
    FreshTool();
    for (int i = 0; i < 6; ++i)
        sim::AddCamera(sim::VendorCamera(u"Parvanex Bench " + std::u16string(1, u'1' + i)));
    sim::Files().files[IniPath()] = "[General]\r\nNumberOfCameras=6\r\n";
    StartTool();
}

void Row(const char* what, double value, double baseline, const char* unit) {
    std::printf("%-44s %12.3f %s   baseline %12.3f %s   ratio %7.2f\n", what, value, unit, baseline,
                unit, baseline > 0 ? value / baseline : 0.0);
}

} // namespace

void* operator new(size_t size) {
    bytesAllocated += size;
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

int main() {
    StartPreviewing();
    baselineFrame = sim::TestFrame(1920, 1080);
    const double capture = SecondsOf(Capture, 20);
    const double copyAndWrite = SecondsOf(CopyAndWrite, 20);
    Row("still capture 1920x1080 (ms)", capture * 1e3, copyAndWrite * 1e3, "ms");
    Row("bytes allocated by one capture (MB)", BytesAllocatedBy(Capture) / 1e6,
        BytesAllocatedBy(CopyAndWrite) / 1e6, "MB");

    const double hook = SecondsOf(HookOnOrdinaryKey, 1000000);
    const double pass = SecondsOf(PassStraightOn, 1000000);
    Row("hook procedure, ordinary key (ns)", hook * 1e9, pass * 1e9, "ns");

    sim::Requests().clear();
    const int moves = 10000;
    const double slider = SecondsOf(MoveBrightness, moves);
    Row("slider notification (us)", slider * 1e6, 0, "us");
    Row("camera requests per slider notification", double(sim::Requests().size()) / moves, 1.0,
        "  ");

    const double startUp = SecondsOf(StartWithSixCameras, 50);
    Row("start-up with six cameras and a file (ms)", startUp * 1e3, 0, "ms");
    return 0;
}
