// The low-level keyboard hook that lets the Print key take a still image while another program
// has the focus, on a thread of its own. Windows calls a low-level hook by a message to the thread
// that installed it and, from Windows 7 on, removes it silently when that thread does not answer
// within LowLevelHooksTimeout (at most 1,000 ms since Windows 10 1709). The tool's window thread
// blocks for seconds in its handlers, so the hook lives on this thread, which does nothing but
// pump messages.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {
namespace {

// Written before the hook's thread starts (procedure, instance) or by that thread before it
// reports back (installedHook); the window thread reads them only after the report or after the
// thread ended.
KeyboardHookProcedure hookProcedure = nullptr;
HINSTANCE hookInstance = nullptr;
HHOOK installedHook = nullptr;
HANDLE installTried = nullptr; // an event: the hook's thread has called SetWindowsHookExA
HANDLE hookThread = nullptr;
DWORD hookThreadId = 0;
// The lParam of the event the logic's procedure is handling, on the hook's thread only:
// CallNextHookEx must be given the system's own record, not a copy rebuilt from the KeyEvent.
LPARAM eventInProgress = 0;

// A thread message that ends the hook's thread.
constexpr UINT kEndHookThread = WM_APP + 0x100;
// How long the removal waits for the hook's thread: it only has to leave GetMessageA.
constexpr DWORD kHookThreadEndMs = 2000;

LRESULT CALLBACK KeyboardThunk(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0 || !hookProcedure)
        return CallNextHookEx(installedHook, code, wParam, lParam);
    const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    KeyEvent event;
    event.virtualKey = record->vkCode;
    event.flags = record->flags;
    const LPARAM outer = eventInProgress;
    eventInProgress = lParam;
    const intptr_t result = hookProcedure(code, static_cast<uintptr_t>(wParam), event);
    eventInProgress = outer;
    return static_cast<LRESULT>(result);
}

DWORD WINAPI HookThreadMain(LPVOID) {
    MSG message;
    // Makes the thread's message queue, so that the end request cannot be posted before it.
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    installedHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardThunk, hookInstance, 0);
    const bool installed = installedHook != nullptr;
    SetEvent(installTried); // installedHook must not be touched here after this
    if (!installed)
        return 1;
    // The hook's calls arrive inside GetMessageA; there are no windows here to dispatch to.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == kEndHookThread)
            return UnhookWindowsHookEx(reinterpret_cast<HHOOK>(message.lParam)) ? 0 : 2;
        DispatchMessageA(&message);
    }
    return 3;
}

void ForgetHookThread() {
    CloseHandle(hookThread);
    hookThread = nullptr;
    hookThreadId = 0;
    installedHook = nullptr;
}

} // namespace

Hook InstallKeyboardHook(Instance instance, KeyboardHookProcedure procedure) {
    if (hookThread)
        return nullptr; // one hook at a time
    hookProcedure = procedure;
    hookInstance = win32::ToHinstance(instance);
    installedHook = nullptr;
    installTried = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!installTried)
        return nullptr;
    hookThread = CreateThread(nullptr, 0, HookThreadMain, nullptr, 0, &hookThreadId);
    if (hookThread) {
        // The thread reports, or ends before it could (then installedHook stays null).
        HANDLE either[] = {installTried, hookThread};
        WaitForMultipleObjects(2, either, FALSE, INFINITE);
    }
    CloseHandle(installTried);
    installTried = nullptr;
    if (!hookThread)
        return nullptr;
    const HHOOK hook = installedHook;
    if (!hook) {
        WaitForSingleObject(hookThread, INFINITE); // it returns right after its report
        ForgetHookThread();
    }
    return reinterpret_cast<Hook>(hook);
}

intptr_t PassKeyEventOn(int code, uintptr_t kind, const KeyEvent& event) {
    (void)event; // the system's record of this event is the one passed on
    return static_cast<intptr_t>(
        CallNextHookEx(installedHook, code, static_cast<WPARAM>(kind), eventInProgress));
}

bool RemoveKeyboardHook(Hook hook) {
    const HHOOK handle = reinterpret_cast<HHOOK>(hook);
    if (!hookThread || !handle || handle != installedHook)
        return false;
    if (!PostThreadMessageA(hookThreadId, kEndHookThread, 0, reinterpret_cast<LPARAM>(handle)))
        return false;
    // Bounded: a thread that does not end in time is left to the process's end (the window
    // thread must not hang at its close), and the hook goes with the process.
    DWORD exitCode = 1;
    const bool ended = WaitForSingleObject(hookThread, kHookThreadEndMs) == WAIT_OBJECT_0 &&
                       GetExitCodeThread(hookThread, &exitCode);
    if (!ended) {
        CloseHandle(hookThread);
        hookThread = nullptr;
        return false;
    }
    ForgetHookThread();
    return exitCode == 0;
}

} // namespace platform
