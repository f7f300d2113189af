// The process: waiting, ending, and the two diagnostic streams.
#pragma once

#include <cstdint>

namespace platform {

// Sleep: blocks the thread; nothing is handled meanwhile.
void SleepFor(uint32_t milliseconds);
// Ends the process at once with the code (the simulated desktop lets a test observe it).
[[noreturn]] void EndProcess(int exitCode);
// OutputDebugStringA.
void WriteDebugText(const char* text);
// The standard error stream.
void WriteStandardError(const char* text);

} // namespace platform
