// The simulated desktop: windows and controls with Win32's semantics, a message queue with timers
// on a virtual clock, scripted message boxes, device notices, key events and the process. Host
// tests drive the tool through the helpers at the end and inspect the records.
#pragma once

#include "platform/types.h"
#include "platform/window_system.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {

struct WindowRecord {
    std::string className;
    std::string text;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    WindowRecord* parent = nullptr;
    int id = 0;
    platform::WindowProcedure procedure = nullptr;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool destroyed = false;
    int check = 0;
    int trackbarMin = 0, trackbarMax = 100, trackbarPos = 0;
    platform::Font font = nullptr;
    platform::Icon smallIcon = nullptr;
    std::vector<WindowRecord*> children; // in creation (sibling) order
};

struct MessageBoxShown {
    platform::Window owner;
    std::string text;
    std::string caption;
    uint32_t flags;
    uint64_t at; // virtual time in ms
    int answer;
};

struct TextSet {
    int id; // control identifier, 0 for a top-level window
    std::string text;
    uint64_t at;
};

struct Timer {
    platform::Window window;
    uintptr_t id;
    uint32_t period;
    uint64_t due;
};

struct PostedMessage {
    platform::Window window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// Thrown by EndProcess so that a test sees the exit without ending the test run.
struct ProcessExit {
    int code;
};

struct Desktop {
    uint64_t now = 0; // virtual clock in ms; sleeps and timers advance it
    std::vector<std::unique_ptr<WindowRecord>> windows;
    struct ClassRecord {
        std::string name;
        platform::WindowProcedure procedure;
        uint32_t style;
        int iconResource;
    };
    std::vector<ClassRecord> classes;
    std::deque<PostedMessage> queue;
    std::vector<Timer> timers;
    bool quitPosted = false;
    int quitCode = 0;
    // Message boxes: answers given in turn; without one an OK box answers OK and a Yes/No box No.
    std::deque<int> boxAnswers;
    std::vector<MessageBoxShown> boxes;
    std::function<void(const MessageBoxShown&)> onBox; // runs while a box is up
    std::vector<TextSet> texts;     // every SetText on a control or window, in order
    std::vector<std::string> calls; // a log of the platform calls worth asserting on
    std::vector<std::string> debugTexts;
    std::string standardError;
    std::string standardOutput;
    bool failDeviceRegistration = false;
    // The command-line program's watch: the windows registered for capture device notices, the
    // resume registration (false: the system has none, as Wine 8 stubs it), the console's stop
    // handler and how often it was told that its request was served.
    std::vector<platform::Window> captureNoticeWindows;
    bool failCaptureNoticeRegistration = false;
    bool resumeRegistrationExists = true;
    platform::Window consoleStopWindow = nullptr;
    uint32_t consoleStopMessage = 0;
    int consoleStopsServed = 0;
    // What other processes and the system do at given moments of the virtual clock (a camera
    // plugged in, a file edited): run by the message loop in time order with the timers.
    std::multimap<uint64_t, std::function<void()>> scheduled;
    bool failHookInstall = false;
    bool iconLoads = true;
    int dpi = 96; // what ScreenDpi reports: a test sets 144 for a screen at 150 %
    int fontsAlive = 0;
    platform::KeyboardHookProcedure hook = nullptr;
    std::vector<platform::KeyEvent> passedKeyEvents; // events handed to the next hook
    // Windows calls a low-level hook by a message to the thread that installed it, so the hook is
    // answered only while that thread pumps messages, and every key of the desktop waits for the
    // answer. One that does not answer within LowLevelHooksTimeout (at most 1,000 ms since
    // Windows 10 1709) is removed silently from Windows 7 on: later events pass it by and its
    // handle is dead; the program is not told (LowLevelKeyboardProc, Remarks).
    enum class HookThread { Tool, Own }; // the tool's one thread, or a thread of the hook's own
    HookThread hookThread = HookThread::Tool;
    uint32_t lowLevelHooksTimeoutMs = 1000;
    bool hookRemovedSilently = false;
    uint64_t hookRemovedAt = 0;
    struct KeyDelivery {
        uintptr_t kind;
        platform::KeyEvent event;
        uint64_t pressedAt;
        uint64_t stalledMs; // from the press until the event went past the hook
        bool hookCalled;
    };
    std::vector<KeyDelivery> keyDeliveries; // every key event of the desktop, in order
    struct PendingKey {
        uintptr_t kind;
        platform::KeyEvent event;
        uint64_t pressedAt;
    };
    std::deque<PendingKey> pendingKeys; // waiting for the hook's thread to pump again
    // Where the tool's thread is: inside window procedures (sent or dispatched), inside modal
    // message boxes (which pump), inside blocking waits.
    int handlerDepth = 0;
    int modalDepth = 0;
    int blockDepth = 0;
    uint64_t blockStartedAt = 0;
    bool onHookThread = false; // a hook on a thread of its own is being called
    // Called when the message loop has nothing to do; return false to end the loop (a real
    // GetMessage would block for ever). Without one the loop ends, returning kLoopIdle.
    std::function<bool()> onIdle;
    // Called after every sleep of the tool, with its length: a test acts while the tool waits.
    std::function<void(uint32_t)> onSleep;
    // Named kernel objects (the claims of process.h), shared by every process of the desktop: per
    // name, the handles the tool holds and the handles other processes hold (a test sets those).
    // An object exists while it has a handle of either kind.
    struct NamedObject {
        int handlesHere = 0;
        int handlesElsewhere = 0;
    };
    std::map<std::string, NamedObject> namedObjects;
    std::map<uintptr_t, std::string> claimHandles; // the tool's open handles and their names
    uintptr_t nextClaimHandle = 0x7000;
};

constexpr int kLoopIdle = -1000;

Desktop& TheDesktop();
// Everything back to a fresh desktop: windows, queue, clock, files, devices.
void ResetAll();

WindowRecord* Record(platform::Window window);
platform::Window HandleOf(WindowRecord* record);
// The first top-level window that is not destroyed, or null.
WindowRecord* MainWindow();
// A child of the main window by identifier, or null.
WindowRecord* Control(int id);

// Operator actions: a click on a button, radio button or check box (as BM_CLICK: nothing when it
// is disabled), a slider dragged to a position (clamped by the trackbar, then WM_HSCROLL).
void Click(int id);
void MoveSlider(int id, int position);
// Sends a message straight to the main window's procedure.
intptr_t SendToMain(uint32_t message, uintptr_t wParam, intptr_t lParam);
void Post(platform::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Handles queued messages and timers until the virtual clock has advanced by the given time.
void RunFor(uint64_t milliseconds);
// A low-level keyboard event as the hook sees it (kind: platform::msg::KeyUp and so on). Given
// while the tool's thread is blocked (from onSleep), the key was pressed as that wait began. A
// hook on a thread that is not pumping gets it only when the thread pumps again; the result is
// then 0.
intptr_t KeyEvent(uintptr_t kind, uint32_t virtualKey, uint32_t flags);
// The tool's thread is blocked for that long (a sleep, a wait inside a platform call): the clock
// advances, onSleep runs with the length, nothing is pumped.
void BlockToolThread(uint32_t milliseconds);
// Calls a window procedure on the tool's thread, as a sent or dispatched message; when the
// outermost returns, the thread is back at its message loop and answers the hook.
intptr_t CallProcedure(WindowRecord* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The tool's thread pumps messages (its loop, a modal box): pending hook calls are answered now,
// or the hook is found timed out and removed.
void PumpHookCalls();
// The hook is being removed: events that wait for it go on without it, unless it had timed out.
void PassPendingKeysOn();

// Another process takes, or gives back, a claim of that name.
void HoldClaimElsewhere(const std::string& name);
void GiveBackClaimElsewhere(const std::string& name);
// The claims the tool holds at this moment, by name (one entry per handle).
std::vector<std::string> ClaimsHeldByTheTool();

// What a device-change notice about a device interface carries (its lParam points to one).
struct DeviceNoticeRecord {
    uint32_t deviceType = 5; // DBT_DEVTYP_DEVICEINTERFACE
    std::u16string path;
};
// The system's notice of a capture device interface arriving or leaving (platform::dbt), sent to
// every window registered for them; returns how many got it.
int CaptureDeviceNotice(uintptr_t event, const std::u16string& path);
// A console stop request (Ctrl+C and the like): posted to the handler's window as its thread
// would; false when no handler is installed (the system would end the process).
bool ConsoleStop(uint32_t event = 0);
// Runs the action when the virtual clock reaches the moment (from the message loop).
void At(uint64_t moment, std::function<void()> action);
// The first top-level window of that class that is not destroyed, or null.
WindowRecord* TopLevelOfClass(const std::string& className);

// Texts that a control received, in order.
std::vector<std::string> TextsOf(int id);

} // namespace sim
