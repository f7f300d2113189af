// COM task memory, in which the framework hands out media types and their format blocks.
#include "platform/win32/graph_handles_win32.h"

namespace platform {

void* AllocateTaskMemory(size_t size) {
    return CoTaskMemAlloc(size);
}

void FreeTaskMemory(void* block) {
    CoTaskMemFree(block);
}

void ReleaseUnknown(void* unknown) {
    if (unknown)
        static_cast<IUnknown*>(unknown)->Release();
}

} // namespace platform
