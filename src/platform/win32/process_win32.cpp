// Waiting, ending the process, and the diagnostic streams.
#include "platform/win32/windows_headers_win32.h"

#include <cstdio>
#include <cstdlib>

#include "platform/process.h"

namespace platform {

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

} // namespace platform
