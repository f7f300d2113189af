// Waiting, ending the process, the diagnostic streams, and named claims.
#include "platform/win32/windows_headers_win32.h"

#include <cstdio>
#include <cstdlib>

#include "platform/process.h"

namespace platform {

uint64_t MillisecondsNow() {
    return GetTickCount64();
}

void SleepFor(uint32_t milliseconds) {
    Sleep(milliseconds);
}

void EndProcess(int exitCode) {
    // exit rather than ExitProcess: the C runtime's buffers (stderr among them) are flushed.
    std::exit(exitCode);
}

void WriteDebugText(const char* text) {
    OutputDebugStringA(text);
}

void WriteStandardError(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

void WriteStandardOutput(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

Claim TakeNamedClaim(const char* name) {
    // Not owned: the mutex is never waited on, its existence is the claim. An existing one
    // (ERROR_ALREADY_EXISTS) is opened and held just the same.
    return reinterpret_cast<Claim>(CreateMutexA(nullptr, FALSE, name));
}

void GiveBackNamedClaim(Claim claim) {
    CloseHandle(reinterpret_cast<HANDLE>(claim));
}

bool NamedClaimHeld(const char* name) {
    HANDLE held = OpenMutexA(SYNCHRONIZE, FALSE, name);
    if (held) {
        CloseHandle(held);
        return true;
    }
    // Another user's object in the global namespace exists but may not be opened by this one.
    return GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace platform
