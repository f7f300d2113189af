// watch: runs until it is asked to stop and keeps each camera's stored section on its camera. It
// applies every section at start, the arriving camera's on a capture device arrival (matched by
// its device path, retried until the camera can be bound), every section after a resume, and with
// --verify-every reads the stored properties back and writes again what differs, unless the
// window program runs. The settings file is only read, anew at every event, so an edit counts
// from the next one. Everything happens on the main thread's message loop, through a hidden
// top-level window (message-only windows get neither resume nor session notices).
#include "camera/capture_filters.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/watch_drift.h"
#include "cli/watch_events.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "core/window_program.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"
#include "properties/camera_filter.h"
#include "properties/camera_records.h"
#include "settings/settings_file.h"

#include <algorithm>

using namespace platform;

namespace {

constexpr const char* kWindowClass = "FramewrightCliWatch";
constexpr const char* kWindowTitle = "FramewrightCli watch";
constexpr uint32_t kStopRequest = msg::App + 1; // posted by the console's stop handler
constexpr uintptr_t kVerifyTimer = 1;
constexpr uintptr_t kArrivalTimer = 2;
// An arrival notice can come before the camera is listed or can be bound: it is tried again this
// often, for this long, and then given up (a device of the class that is no camera of ours, such
// as a webcam's microphone, is never found).
constexpr uint32_t kArrivalRetryMs = 50;
constexpr uint64_t kArrivalGiveUpMs = 5000;

struct PendingArrival {
    std::u16string path;
    uint64_t giveUpAt;
};

struct Watch {
    bool json = false;
    std::string path;
    Window window = nullptr;
    std::vector<PendingArrival> arrivals;
    // Per slot, the properties (one bit per CameraProperty) the camera refused since its section
    // was last applied: the read-back leaves them alone instead of asking again every period.
    uint32_t refused[kMaxCameras] = {};
    bool paused = false; // the read-back waits for the window program to end
    bool stopped = false;
};

Watch watch;

void Emit(const WatchEvent& event) {
    WriteStandardOutput(EventLine(event, watch.json).c_str());
}

WatchEvent Event(const char* kind, int slot = -1) {
    WatchEvent event{kind, 0, {}};
    event.camera = slot + 1;
    return event;
}

std::string SectionOf(int slot) {
    return "Camera" + std::to_string(slot);
}

uint32_t BitOfKey(const char* key) {
    for (const PropertyRow& row : AllProperties())
        if (std::string(row.key) == key)
            return 1u << static_cast<int>(row.property);
    return 0; // the camera mode, which the read-back leaves alone
}

void Rediscover() {
    Shell.camerasFound = DiscoverCameras();
    for (int slot = Shell.camerasFound; slot < kMaxCameras; ++slot)
        ReleaseCaptureFilter(slot);
    std::fill(std::begin(watch.refused), std::end(watch.refused), 0u);
}

// The slot's section into its record; false, with the reason told, when it cannot be used. A
// section that names another camera is reported where it is applied, not at every read-back.
bool ReadSection(int slot, bool reportOther) {
    switch (ReadStoredCamera(slot, watch.path.c_str())) {
    case StoredCameras::Loaded:
        return true;
    case StoredCameras::NoFile:
        WriteStandardError(("FramewrightCli: cannot read the settings file " + watch.path +
                            "; the cameras are left as they are\n")
                               .c_str());
        return false;
    case StoredCameras::OtherCameras:
        if (reportOther)
            Emit(Event("skipped", slot)
                     .Text("section", SectionOf(slot))
                     .Text("reason", "the section names another camera"));
        return false;
    }
    return false;
}

void ApplySlot(int slot) {
    if (!FilterOfSlot(slot) || !ReadSection(slot, true))
        return;
    Shell.selectedCamera = slot;
    std::vector<Refusal> refusals;
    ApplyCameraSettings(&refusals);
    watch.refused[slot] = 0;
    for (const Refusal& refusal : refusals) {
        watch.refused[slot] |= BitOfKey(refusal.property);
        Emit(Event("refused", slot).Text("property", refusal.property).Result(refusal.result));
    }
    Emit(Event("applied", slot)
             .Text("section", SectionOf(slot))
             .Text("name", CameraRecords[slot].Name));
}

void ApplyAll() {
    for (int slot = 0; slot < Shell.camerasFound && slot < kMaxCameras; ++slot)
        ApplySlot(slot);
}

int SlotOfPath(const std::u16string& path) {
    for (int slot = 0; slot < Shell.camerasFound && slot < kMaxCameras; ++slot)
        if (!CaptureDevicePaths[slot].empty() && SameDevicePath(CaptureDevicePaths[slot], path))
            return slot;
    return -1;
}

// Looks for the cameras of the arrivals not yet served: each found and bound is reported and
// gets its section; the others wait for the next try until they are given up.
void ServeArrivals() {
    if (watch.arrivals.empty())
        return;
    Rediscover();
    const uint64_t now = MillisecondsNow();
    std::vector<PendingArrival> waiting;
    for (const PendingArrival& arrival : watch.arrivals) {
        const int slot = SlotOfPath(arrival.path);
        if (slot >= 0 && FilterOfSlot(slot)) {
            Emit(Event("arrived", slot).Text("name", CameraRecords[slot].Name));
            ApplySlot(slot);
        } else if (now < arrival.giveUpAt) {
            waiting.push_back(arrival);
        }
    }
    watch.arrivals = waiting;
    if (waiting.empty())
        StopTimer(watch.window, kArrivalTimer);
    else
        StartTimer(watch.window, kArrivalTimer, kArrivalRetryMs);
}

void OnDeviceNotice(uintptr_t event, intptr_t lParam) {
    std::u16string path;
    if ((event != dbt::DeviceArrival && event != dbt::DeviceRemoveComplete) ||
        !DeviceNoticePath(lParam, &path))
        return;
    if (event == dbt::DeviceArrival) {
        watch.arrivals.push_back({path, MillisecondsNow() + kArrivalGiveUpMs});
        ServeArrivals();
        return;
    }
    const int slot = SlotOfPath(path);
    if (slot < 0)
        return; // no camera of ours
    Emit(Event("removed", slot).Text("name", CameraRecords[slot].Name));
    Rediscover();
}

void OnResume() {
    Emit(Event("resumed"));
    Rediscover();
    ApplyAll();
}

// Not while the window program runs: the operator may be setting the camera up there. Told once
// each time the window program is found.
void Verify() {
    if (TopLevelWindowOfClassExists(kWindowProgramClass)) {
        if (!watch.paused)
            Emit(Event("paused").Text("reason", "the window program runs"));
        watch.paused = true;
        return;
    }
    watch.paused = false;
    for (int slot = 0; slot < Shell.camerasFound && slot < kMaxCameras; ++slot) {
        if (!FilterOfSlot(slot) || !ReadSection(slot, false))
            continue;
        for (const Correction& c : CorrectDrift(slot, watch.refused[slot])) {
            if (Failed(c.result)) {
                watch.refused[slot] |= 1u << static_cast<int>(c.row->property);
                Emit(Event("refused", slot).Text("property", c.row->key).Result(c.result));
            } else {
                Emit(Event("corrected", slot)
                         .Text("property", c.row->key)
                         .Number("found", c.found)
                         .Number("stored", c.stored));
            }
        }
    }
}

void Stop() {
    if (watch.stopped)
        return;
    watch.stopped = true;
    Emit(Event("stopped"));
    StopTimer(watch.window, kVerifyTimer);
    StopTimer(watch.window, kArrivalTimer);
    DestroyWindowNow(watch.window);
    PostQuit(kExitDone);
}

intptr_t WatchProcedure(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case msg::DeviceChange:
        OnDeviceNotice(wParam, lParam);
        return 1;
    case msg::PowerBroadcast:
        if (wParam == pbt::ResumeAutomatic)
            OnResume();
        return 1;
    case msg::Timer:
        if (wParam == kVerifyTimer)
            Verify();
        else if (wParam == kArrivalTimer)
            ServeArrivals();
        return 0;
    case msg::QueryEndSession:
        return 1; // the session may end; the watch stops when it does
    case msg::EndSession:
        if (wParam != 0)
            Stop();
        return 0;
    case msg::Close:
    case kStopRequest:
        Stop();
        return 0;
    default:
        return DefaultProcedure(window, message, wParam, lParam);
    }
}

} // namespace

int RunWatch(CommandContext& context) {
    int exitCode = kExitDone;
    if (!context.ChooseSettingsPath(&exitCode))
        return exitCode;
    watch = Watch();
    watch.json = context.invocation.json;
    watch.path = SettingsPath();
    if (!SettingsFileExists(watch.path.c_str()))
        return context.Error(kExitSettings, "cannot read the settings file " + watch.path);
    General.InitAndExit = 0; // the apply ends the process when it is 1; nothing here sets it
    RegisterWindowClass(Shell.instance, kWindowClass, WatchProcedure, 0, 0);
    watch.window =
        CreateWindowWith(0, kWindowClass, kWindowTitle, 0, 0, 0, 0, 0, nullptr, 0, Shell.instance);
    if (!watch.window)
        return context.Error(kExitSettings, "cannot create the watch's window");
    // Without the notices the watch still applies at start, after a resume and at each read-back.
    if (!RegisterCaptureDeviceNotices(watch.window))
        WriteStandardError("FramewrightCli: no device notices: arrivals are not seen\n");
    RegisterResumeNotices(watch.window); // WM_POWERBROADCAST comes to a top-level window anyway
    InstallConsoleStopHandler(watch.window, kStopRequest);
    Emit(Event("started")
             .Text("settings", watch.path)
             .Number("cameras", Shell.camerasFound)
             .Number("verifyEvery", context.invocation.verifySeconds));
    ApplyAll();
    if (context.invocation.verifySeconds > 0)
        StartTimer(watch.window, kVerifyTimer, context.invocation.verifySeconds * 1000);
    const int loopCode = RunMessageLoop();
    ConsoleStopServed();
    return watch.stopped ? kExitDone : loopCode;
}
