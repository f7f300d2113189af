// What the tool needs of the window system: the main window and its child controls, message
// boxes, timers, the message loop, device notices and the low-level keyboard hook.
#pragma once

#include "platform/types.h"

#include <string>

namespace platform {

// Makes the trackbar and status bar classes available (InitCommonControls).
void InitializeCommonControls();
// Registers a window class with the given procedure, class style and icon resource.
bool RegisterWindowClass(Instance instance, const char* className, WindowProcedure procedure,
                         uint32_t classStyle, int iconResource);
// The screen's dots per inch as this process sees them: 96 at 100 %, 144 at 150 %. The manifest
// declares the process aware of the system's DPI, so this is the real setting (an unaware process
// is told 96 by Windows and stretched as a bitmap). It stays the same for the process's life.
int ScreenDpi();
// Creates a font with the given face, height and weight, every other field 0.
Font CreateControlFont(const char* face, int height, int weight);
// Releases a font made by CreateControlFont.
void DeleteControlFont(Font font);
// Creates a window; the procedure sees the creation message before this returns.
Window CreateWindowWith(uint32_t exStyle, const char* className, const char* text, uint32_t style,
                        int x, int y, int width, int height, Window parent, int id,
                        Instance instance);
// Sets the class's large and small icon to the module's icon resource (SetClassLong).
void SetClassIcons(Window window, Instance instance, int iconResource);
// Loads an icon resource of the module; null when it does not load.
Icon LoadAppIcon(Instance instance, int iconResource);
// Gives a window its small icon (WM_SETICON with ICON_SMALL).
void SetSmallIcon(Window window, Icon icon);
// Sends WM_SETFONT with the redraw flag set.
void SetControlFont(Window control, Font font);
// ShowWindow with a show command (platform::sw).
void ShowWindowAs(Window window, int command);
// UpdateWindow: paints at once.
void RepaintNow(Window window);
// EnableWindow.
void EnableControl(Window window, bool enable);
// DestroyWindow; the procedure sees the destruction message before this returns.
void DestroyWindowNow(Window window);
// DefWindowProcA.
intptr_t DefaultProcedure(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// PostQuitMessage.
void PostQuit(int exitCode);
// GetDlgItem: the child with that identifier, or null.
Window FindControl(Window parent, int id);
// GetClientRect.
Rect ClientRect(Window window);
// SetWindowTextA.
void SetText(Window window, const char* text);
// The window's text (for the tool's own checks; the logic keeps no copies of it).
std::string GetText(Window window);
// BM_SETCHECK: 1 checked, 0 unchecked.
void SetCheck(Window control, int state);
// IsDlgButtonChecked: 1 checked, 0 unchecked.
int IsChecked(Window parent, int id);
// TBM_SETRANGE with redraw: minimum in the low 16 bits, maximum in the high 16 bits.
void SetTrackbarRange(Window trackbar, uint32_t packedRange);
// TBM_SETRANGE's packed range: the maximum in the high word, the minimum in the low word.
constexpr uint32_t PackedTrackbarRange(int32_t minimum, int32_t maximum) {
    return (static_cast<uint32_t>(maximum) << 16) | (static_cast<uint32_t>(minimum) & 0xFFFF);
}
// TBM_SETPOS with redraw.
void SetTrackbarPosition(Window trackbar, int position);
// TBM_GETPOS.
int TrackbarPosition(Window trackbar);
// MessageBoxA: blocks until answered and returns the answer (platform::mb).
int ShowMessageBox(Window owner, const char* text, const char* caption, uint32_t flags);
// SetTimer: a timer message with that identifier after the period; restarting restarts it.
void StartTimer(Window window, uintptr_t id, uint32_t milliseconds);
// KillTimer.
void StopTimer(Window window, uintptr_t id);
// GetMessage, TranslateMessage, DispatchMessage until WM_QUIT; returns its code.
int RunMessageLoop();
// RegisterDeviceNotificationA for USB device interfaces; false when it fails.
bool RegisterUsbDeviceNotices(Window window);
// RegisterDeviceNotificationA for the capture device interface class (KSCATEGORY_CAPTURE, which
// every webcam's capture interface joins); false when it fails.
bool RegisterCaptureDeviceNotices(Window window);
// The device interface path that a device-change notice (arrival or removal, its lParam) names;
// false for a notice that is not about a device interface. Read in either text form of the record
// (one-byte or UTF-16 name).
bool DeviceNoticePath(intptr_t lParam, std::u16string* path);
// RegisterSuspendResumeNotification for the window, where the system has it (looked up at run
// time: Wine 8 only stubs it); false where it is missing or refused. WM_POWERBROADCAST reaches a
// top-level window without it on every system; the registration makes it reach the window when
// the system would leave windows out.
bool RegisterResumeNotices(Window window);
// FindWindowA by class: whether some process shows a top-level window of that class.
bool TopLevelWindowOfClassExists(const char* className);
// The console's stop requests (Ctrl+C, Ctrl+Break, the console closed, logoff, shutdown): the
// handler, which the system runs on a thread of its own, posts the message to the window and
// waits, at most a few seconds, for ConsoleStopServed before it lets the system go on (which ends
// the process after a close, logoff or shutdown). False when the handler could not be installed.
bool InstallConsoleStopHandler(Window window, uint32_t message);
// The main thread has served the stop request: a waiting handler returns.
void ConsoleStopServed();

// One event of the low-level keyboard hook.
struct KeyEvent {
    uint32_t virtualKey = 0;
    uint32_t flags = 0;
};
using KeyboardHookProcedure = intptr_t (*)(int code, uintptr_t kind, const KeyEvent& event);
// SetWindowsHookExA(WH_KEYBOARD_LL) for all threads, made on a thread of the hook's own that does
// nothing but pump messages. Windows calls a low-level hook by a message to the thread that
// installed it, and removes it silently when that thread does not answer within
// LowLevelHooksTimeout (at most 1 s): the thread that waits in the tool's handlers cannot hold
// it. The procedure runs on the hook's thread. Returns once that thread has tried; null when the
// hook could not be installed (the thread is gone again then).
Hook InstallKeyboardHook(Instance instance, KeyboardHookProcedure procedure);
// CallNextHookEx with the event that the hook procedure is handling (on the hook's thread).
intptr_t PassKeyEventOn(int code, uintptr_t kind, const KeyEvent& event);
// UnhookWindowsHookEx on the hook's thread, which then ends; waits a bounded time for it. False
// when there was no hook to remove.
bool RemoveKeyboardHook(Hook hook);
// PostMessageA: queues a message for a window, from any thread; false when the window is gone.
bool PostToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);

} // namespace platform
