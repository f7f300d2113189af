// COM task memory, in which the framework hands out media types and their format blocks.
#include "platform/win32/graph_handles_win32.h"
#include "platform/win32/resource_counts_win32.h"

namespace platform {

void* AllocateTaskMemory(size_t size) {
    void* block = CoTaskMemAlloc(size);
    win32::CountBlockOwned(block);
    return block;
}

void FreeTaskMemory(void* block) {
    win32::CountBlockFreed(block);
    CoTaskMemFree(block);
}

void ReleaseUnknown(void* unknown) {
    if (!unknown)
        return;
    win32::CountUnknownReleased();
    static_cast<IUnknown*>(unknown)->Release();
}

} // namespace platform
