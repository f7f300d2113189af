// The process: waiting, ending, the two diagnostic streams, and claims other processes can see.
#pragma once

#include <cstdint>

namespace platform {

struct ClaimTag;
using Claim = ClaimTag*; // a handle on a named kernel object (HANDLE)

// Sleep: blocks the thread; nothing is handled meanwhile.
void SleepFor(uint32_t milliseconds);
// GetTickCount64: milliseconds since the system started, for waits that must last a real time
// whatever a sleep's granularity (a sleep of 10 ms may last 16).
uint64_t MillisecondsNow();
// Ends the process at once with the code (the simulated desktop lets a test observe it).
[[noreturn]] void EndProcess(int exitCode);
// OutputDebugStringA.
void WriteDebugText(const char* text);
// The standard error stream.
void WriteStandardError(const char* text);
// The standard output stream, flushed at once: a script reads each line as it comes.
void WriteStandardOutput(const char* text);

// A claim is a named kernel object (a mutex that nobody waits on): it exists while some process
// holds a handle on it, so its existence is what another process asks about. The system gives the
// handle back when a process ends, however it ends. Names are ASCII and at most 260 characters;
// after an optional namespace (Global\ or Local\) they hold no backslash; case counts.
//
// Creates or opens the object and holds it; null when the system refused (a bad name, or an object
// of that name that this process may not open).
Claim TakeNamedClaim(const char* name);
// Closes the handle.
void GiveBackNamedClaim(Claim claim);
// Whether some process, this one included, holds a claim of that name; an object of that name
// that this process may not open counts as held.
bool NamedClaimHeld(const char* name);

} // namespace platform
