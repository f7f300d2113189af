// Comparing the logic's GUID records.
#include "platform/win32/guids_win32.h"

#include "platform/media_graph.h"

namespace platform {

bool SameGuid(const Guid& a, const Guid& b) {
    return IsEqualGUID(win32::ToGuid(a), win32::ToGuid(b)) != FALSE;
}

} // namespace platform
