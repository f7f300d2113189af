#include "unplug.h"

#include "paths.h"
#include "text_files.h"
#include "win_holders.h"

#include <set>
#include <sstream>

namespace vcam {
namespace {

// The file is read again only when its stamp changes: the streaming thread asks every frame.
struct UnplugCache {
    CriticalSection section;
    unsigned long long stamp = 0;
    std::set<int> removed;
};

UnplugCache& Cache() {
    static UnplugCache cache;
    return cache;
}

} // namespace

bool IsUnplugged(int camera) {
    UnplugCache& cache = Cache();
    Lock lock(cache.section);
    const std::wstring path = UnplugPath();
    const unsigned long long stamp = FileStamp(path);
    if (stamp != cache.stamp) {
        cache.stamp = stamp;
        cache.removed.clear();
        std::string text;
        if (stamp && ReadWholeFile(path, &text)) {
            std::istringstream lines(text);
            std::string word;
            int index = 0;
            while (lines >> word >> index)
                if (word == "removed")
                    cache.removed.insert(index);
        }
    }
    return cache.removed.count(camera) != 0;
}

} // namespace vcam
