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

// A message for a window that is gone is dropped, as Windows drops it with the window.
void Dispatch(const PostedMessage& m) {
    WindowRecord* w = Record(m.window);
    if (w && !w->destroyed && w->procedure)
        CallProcedure(w, m.message, m.wParam, m.lParam);
}

bool ToolThreadPumps() {
    const Desktop& d = TheDesktop();
    return d.blockDepth == 0 && (d.handlerDepth == 0 || d.modalDepth > 0);
}

// The event goes past the hook at answeredAt: through the hook procedure, or straight to the next
// hook when there is none (any more) or the hook is going.
intptr_t Deliver(uintptr_t kind, const platform::KeyEvent& event, uint64_t pressedAt,
                 uint64_t answeredAt, bool hookAnswers = true) {
    Desktop& d = TheDesktop();
    const bool called = d.hook && hookAnswers;
    d.keyDeliveries.push_back({kind, event, pressedAt, answeredAt - pressedAt, called});
    if (!called) {
        d.passedKeyEvents.push_back(event);
        return 0;
    }
    const bool own = d.hookThread == Desktop::HookThread::Own;
    d.onHookThread = own;
    const intptr_t result = d.hook(0, kind, event);
    d.onHookThread = false;
    return result;
}

// The events waiting for the hook's thread: answered by the hook now (or passed on, when the
// hook is going), unless the system gave up on the hook before.
void SettlePendingKeys(bool hookAnswers) {
    Desktop& d = TheDesktop();
    // The system offers one event at a time: each waits for the answer to the ones before it.
    uint64_t inputFreeAt = 0;
    while (!d.pendingKeys.empty()) {
        const Desktop::PendingKey k = d.pendingKeys.front();
        d.pendingKeys.pop_front();
        const uint64_t offeredAt = std::max(k.pressedAt, inputFreeAt);
        if (d.hook && d.now - offeredAt > d.lowLevelHooksTimeoutMs) {
            d.hook = nullptr;
            d.hookRemovedSilently = true;
            d.hookRemovedAt = offeredAt + d.lowLevelHooksTimeoutMs;
            inputFreeAt = d.hookRemovedAt;
        } else {
            inputFreeAt = d.hook ? d.now : offeredAt;
        }
        Deliver(k.kind, k.event, k.pressedAt, inputFreeAt, hookAnswers);
    }
}

} // namespace

void PumpHookCalls() {
    SettlePendingKeys(true);
}

void PassPendingKeysOn() {
    SettlePendingKeys(false);
}

intptr_t CallProcedure(WindowRecord* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Desktop& d = TheDesktop();
    d.handlerDepth++;
    const intptr_t result = window->procedure(HandleOf(window), message, wParam, lParam);
    if (--d.handlerDepth == 0)
        PumpHookCalls();
    return result;
}

void BlockToolThread(uint32_t milliseconds) {
    Desktop& d = TheDesktop();
    const uint64_t startedAt = d.now;
    d.now += milliseconds;
    if (d.blockDepth++ == 0)
        d.blockStartedAt = startedAt;
    if (d.onSleep)
        d.onSleep(milliseconds);
    d.blockDepth--;
}

namespace {

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
    const auto action = d.scheduled.begin();
    if (action != d.scheduled.end() && action->first <= deadline &&
        (earliest == d.timers.end() || action->first <= earliest->due)) {
        d.now = std::max(d.now, action->first);
        const std::function<void()> act = action->second;
        d.scheduled.erase(action);
        act();
        return true;
    }
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
    PumpHookCalls();
    while (!d.quitPosted && HandleOne(deadline)) {
    }
    d.now = std::max(d.now, deadline);
}

intptr_t KeyEvent(uintptr_t kind, uint32_t virtualKey, uint32_t flags) {
    Desktop& d = TheDesktop();
    const platform::KeyEvent event{virtualKey, flags};
    const uint64_t pressedAt = d.blockDepth > 0 ? d.blockStartedAt : d.now;
    if (d.hook && d.hookThread == Desktop::HookThread::Tool && !ToolThreadPumps()) {
        d.pendingKeys.push_back({kind, event, pressedAt});
        return 0;
    }
    PumpHookCalls();
    return Deliver(kind, event, pressedAt, pressedAt); // answered as it comes
}

} // namespace sim

namespace platform {

using sim::TheDesktop;

void StartTimer(Window window, uintptr_t id, uint32_t milliseconds) {
    sim::Desktop& d = TheDesktop();
    // SetTimer takes only a window of the calling thread: every window here is the tool's.
    if (d.onHookThread) {
        d.calls.push_back("SetTimer " + std::to_string(id) + " refused: another thread's window");
        return;
    }
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
        sim::PumpHookCalls();
        if (sim::HandleOne(horizon))
            continue;
        if (!d.onIdle || !d.onIdle())
            return sim::kLoopIdle;
    }
    d.quitPosted = false;
    return d.quitCode;
}

namespace {
const Hook kHookHandle = reinterpret_cast<Hook>(static_cast<uintptr_t>(0x4001));
}

Hook InstallKeyboardHook(Instance, KeyboardHookProcedure procedure) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("InstallKeyboardHook");
    if (d.failHookInstall)
        return nullptr;
    // On a thread of the hook's own, which pumps nothing but the hook's calls and so answers
    // each at once.
    d.hook = procedure;
    d.hookThread = sim::Desktop::HookThread::Own;
    d.hookRemovedSilently = false;
    return kHookHandle;
}

intptr_t PassKeyEventOn(int, uintptr_t, const KeyEvent& event) {
    TheDesktop().passedKeyEvents.push_back(event);
    return 0;
}

// A hook that the system removed has a dead handle: UnhookWindowsHookEx fails on it.
bool RemoveKeyboardHook(Hook hook) {
    sim::Desktop& d = TheDesktop();
    d.calls.push_back("RemoveKeyboardHook");
    sim::PassPendingKeysOn(); // what waited for the hook goes on now, or found it timed out
    const bool live = hook == kHookHandle && d.hook != nullptr;
    d.hook = nullptr;
    return live;
}

bool PostToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    sim::Desktop& d = TheDesktop();
    const sim::WindowRecord* w = sim::Record(window);
    if (!w || w->destroyed) {
        d.calls.push_back("PostMessage " + std::to_string(message) + " refused: no window");
        return false;
    }
    d.calls.push_back("PostMessage " + std::to_string(message));
    sim::Post(window, message, wParam, lParam);
    return true;
}

void SleepFor(uint32_t milliseconds) {
    TheDesktop().calls.push_back("Sleep " + std::to_string(milliseconds));
    sim::BlockToolThread(milliseconds);
}

uint64_t MillisecondsNow() {
    return TheDesktop().now;
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

void WriteStandardOutput(const char* text) {
    TheDesktop().standardOutput += text;
}

} // namespace platform
