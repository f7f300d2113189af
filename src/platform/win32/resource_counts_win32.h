// Counts of what the bindings hand to the logic and get back: task memory blocks, media type
// references, files. With FRAMEWRIGHT_RESOURCE_COUNTS set in the environment they are printed on
// stderr when the process ends, so that a long run shows whether the tool keeps anything per
// capture (blocks still outstanding, files left open) apart from what the framework keeps.
#pragma once

namespace platform::win32 {

// A block of task memory the logic now owns: allocated for it, or handed over by the framework
// (a media type record or its format block).
void CountBlockOwned(void* block);
// The logic gave a block back to the task allocator.
void CountBlockFreed(void* block);
// A media type's IUnknown handed to the logic, and one the logic released.
void CountUnknownOwned(void* unknown);
void CountUnknownReleased();
void CountFileOpened();
void CountFileClosed();

} // namespace platform::win32
