// The message queue of the simulated desktop: posted messages in order, timers on the virtual
// clock (a timer message is made only when nothing is posted, as on Windows), the quit request,
// the keyboard hook and the process.
#include "platform/sim/sim_desktop.h"

#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"

#include <algorithm>

namespace sim {

using namespace platform;

namespace {

void Dispatch(const PostedMessage& m) {
    WindowRecord* w = Record(m.window);
    if (w && !w->destroyed && w->procedure)
        w->procedure(m.window, m.message, m.wParam, m.lParam);
}

// Handles one posted message, or the earliest timer due no later than the deadline.
bool HandleOne(uint64_t deadline) {
    Desktop& d = TheDesktop();
    if (!d.queue.empty()) {
        PostedMessage m = d.queue.front();
        d.queue.pop_front();
        Dispatch(m);
        return true;
    }
    auto earliest = std::min_element(d.timers.begin(), d.timers.end(),
                                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
    if (earliest == d.timers.end() || earliest->due > deadline)
        return false;
    d.now = std::max(d.now, earliest->due);
    earliest->due = d.now + earliest->period;
    Dispatch({earliest->window, msg::Timer, earliest->id, 0});
    return true;
}

} // namespace

void Post(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    TheDesktop().queue.push_back({window, message, wParam, lParam});
}

void RunFor(uint64_t milliseconds) {
    Desktop& d = TheDesktop();
    const uint64_t deadline = d.now + milliseconds;
    while (!d.quitPosted && HandleOne(deadline)) {
    }
    d.now = std::max(d.now, deadline);
}

intptr_t KeyEvent(uintptr_t kind, uint32_t virtualKey, uint32_t flags) {
    Desktop& d = TheDesktop();
    platform::KeyEvent event{virtualKey, flags};
    if (!d.hook) {
        d.passedKeyEvents.push_back(event);
        return 0;
    }
    return d.hook(0, kind, event);
}

} // namespace sim

namespace platform {

using sim::TheDesktop;

void StartTimer(Window window, uintptr_t id, uint32_t milliseconds) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("SetTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
    for (sim::Timer& t : d.timers)
        if (t.window == window && t.id == id) {
            t.period = milliseconds;
            t.due = d.now + milliseconds;
            return;
        }
    d.timers.push_back({window, id, milliseconds, d.now + milliseconds});
}

void StopTimer(Window window, uintptr_t id) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("KillTimer " + std::to_string(id));
    d.timers.erase(
        std::remove_if(d.timers.begin(), d.timers.end(),
                       [&](const sim::Timer& t) { return t.window == window && t.id == id; }),
        d.timers.end());
}

int RunMessageLoop() {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("MessageLoop");
    // A timer that nobody kills would tick for ever: the loop gives up after an hour of virtual
    // time.
    const uint64_t horizon = d.now + 3600 * 1000;
    while (!d.quitPosted) {
        if (sim::HandleOne(horizon))
            continue;
        if (!d.onIdle || !d.onIdle())
            return sim::kLoopIdle;
    }
    d.quitPosted = false;
    return d.quitCode;
}

Hook InstallKeyboardHook(Instance, KeyboardHookProcedure procedure) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("InstallKeyboardHook");
    if (d.failHookInstall)
        return nullptr;
    d.hook = procedure;
    return reinterpret_cast<Hook>(static_cast<uintptr_t>(0x4001));
}

intptr_t PassKeyEventOn(int, uintptr_t, const KeyEvent& event) {
    TheDesktop().passedKeyEvents.push_back(event);
    return 0;
}

bool RemoveKeyboardHook(Hook hook) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("RemoveKeyboardHook");
    d.hook = nullptr;
    return hook != nullptr;
}

void SleepFor(uint32_t milliseconds) {
    TheDesktop().now += milliseconds;
    TheDesktop().calls.push_back("Sleep " + std::to_string(milliseconds));
    if (TheDesktop().onSleep)
        TheDesktop().onSleep(milliseconds);
}

void EndProcess(int exitCode) {
    TheDesktop().calls.push_back("EndProcess " + std::to_string(exitCode));
    throw sim::ProcessExit{exitCode};
}

void WriteDebugText(const char* text) {
    TheDesktop().debugTexts.push_back(text);
}

void WriteStandardError(const char* text) {
    TheDesktop().standardError += text;
}

} // namespace platform
