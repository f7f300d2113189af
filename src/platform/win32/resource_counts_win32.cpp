#include "platform/win32/resource_counts_win32.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace platform::win32 {
namespace {

// Only the user-interface thread calls the bindings that count, so nothing is locked.
struct Counts {
    std::unordered_set<void*> owned;
    unsigned long blocksOwned = 0;
    unsigned long blocksFreed = 0;
    unsigned long blocksFreedUnknown = 0; // freed, but never seen handed over
    unsigned long unknownsOwned = 0;
    unsigned long unknownsReleased = 0;
    unsigned long filesOpened = 0;
    unsigned long filesClosed = 0;
    bool enabled = std::getenv("FRAMEWRIGHT_RESOURCE_COUNTS") != nullptr;

    ~Counts() {
        if (!enabled)
            return;
        std::fprintf(stderr,
                     "resource counts: task blocks owned %lu freed %lu (of them never seen "
                     "handed over %lu) outstanding %zu; media type unknowns owned %lu "
                     "released %lu; files opened %lu closed %lu\n",
                     blocksOwned, blocksFreed, blocksFreedUnknown, owned.size(), unknownsOwned,
                     unknownsReleased, filesOpened, filesClosed);
    }
};

Counts& TheCounts() {
    static Counts counts;
    return counts;
}

} // namespace

void CountBlockOwned(void* block) {
    Counts& counts = TheCounts();
    if (!counts.enabled || !block)
        return;
    ++counts.blocksOwned;
    counts.owned.insert(block);
}

void CountBlockFreed(void* block) {
    Counts& counts = TheCounts();
    if (!counts.enabled || !block)
        return;
    ++counts.blocksFreed;
    if (counts.owned.erase(block) == 0)
        ++counts.blocksFreedUnknown;
}

void CountUnknownOwned(void* unknown) {
    Counts& counts = TheCounts();
    if (counts.enabled && unknown)
        ++counts.unknownsOwned;
}

void CountUnknownReleased() {
    Counts& counts = TheCounts();
    if (counts.enabled)
        ++counts.unknownsReleased;
}

void CountFileOpened() {
    Counts& counts = TheCounts();
    if (counts.enabled)
        ++counts.filesOpened;
}

void CountFileClosed() {
    Counts& counts = TheCounts();
    if (counts.enabled)
        ++counts.filesClosed;
}

} // namespace platform::win32
