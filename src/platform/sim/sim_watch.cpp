// What the command-line program's watch needs of the simulated desktop: capture device notices
// delivered only to the windows registered for them, the resume registration, the window
// program's window looked up by class, and the console's stop handler.
#include "platform/sim/sim_desktop.h"

#include "platform/window_system.h"

namespace sim {

int CaptureDeviceNotice(uintptr_t event, const std::u16string& path) {
    const DeviceNoticeRecord record{5, path};
    int delivered = 0;
    // Sent, as the system sends device notices: the handler runs before the next window is told.
    const std::vector<platform::Window> windows = TheDesktop().captureNoticeWindows;
    for (platform::Window window : windows) {
        WindowRecord* w = Record(window);
        if (!w || w->destroyed || !w->procedure)
            continue;
        CallProcedure(w, 0x0219, event, reinterpret_cast<intptr_t>(&record));
        ++delivered;
    }
    return delivered;
}

bool ConsoleStop(uint32_t event) {
    Desktop& d = TheDesktop();
    if (!d.consoleStopWindow)
        return false;
    return platform::PostToWindow(d.consoleStopWindow, d.consoleStopMessage, event, 0);
}

void At(uint64_t moment, std::function<void()> action) {
    TheDesktop().scheduled.emplace(moment, std::move(action));
}

WindowRecord* TopLevelOfClass(const std::string& className) {
    for (auto& w : TheDesktop().windows)
        if (!w->parent && !w->destroyed && w->className == className)
            return w.get();
    return nullptr;
}

} // namespace sim

namespace platform {

using sim::TheDesktop;

bool RegisterCaptureDeviceNotices(Window window) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("RegisterCaptureDeviceNotices");
    const sim::WindowRecord* w = sim::Record(window);
    // The system refuses a registration for no window (ERROR_INVALID_PARAMETER).
    if (d.failCaptureNoticeRegistration || !w || w->destroyed)
        return false;
    d.captureNoticeWindows.push_back(window);
    return true;
}

bool DeviceNoticePath(intptr_t lParam, std::u16string* path) {
    const auto* record = reinterpret_cast<const sim::DeviceNoticeRecord*>(lParam);
    if (!record || record->deviceType != 5)
        return false;
    *path = record->path;
    return !path->empty();
}

bool RegisterResumeNotices(Window window) {
    TheDesktop().calls.push_back("RegisterResumeNotices");
    return TheDesktop().resumeRegistrationExists && sim::Record(window) != nullptr;
}

bool TopLevelWindowOfClassExists(const char* className) {
    return sim::TopLevelOfClass(className) != nullptr;
}

bool InstallConsoleStopHandler(Window window, uint32_t message) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("InstallConsoleStopHandler");
    d.consoleStopWindow = window;
    d.consoleStopMessage = message;
    return true;
}

void ConsoleStopServed() {
    TheDesktop().consoleStopsServed++;
}

} // namespace platform
