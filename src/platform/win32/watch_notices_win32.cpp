// What the command-line program's watch listens to beside the message loop: the path of a
// capture device notice (device_notices_win32.cpp registers for them), the resume notices, and
// whether the window program is up.
#include "platform/win32/handles_win32.h"

#include <dbt.h>

#include "platform/window_system.h"

#include <cstring>

namespace platform {
namespace {

// RegisterSuspendResumeNotification (Windows 8 and later; a stub in Wine 8).
using RegisterSuspendResume = HANDLE(WINAPI*)(HANDLE recipient, DWORD flags);

} // namespace

bool DeviceNoticePath(intptr_t lParam, std::u16string* path) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return false;
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
    if (header->dbch_size <= nameOffset)
        return false;
    const char* name = reinterpret_cast<const char*>(header) + nameOffset;
    const size_t bytes = header->dbch_size - nameOffset;
    path->clear();
    // A device interface path begins with "\\?\": a zero second byte is the UTF-16 form, which a
    // system may send whichever function registered the window.
    if (bytes >= 2 && name[0] != 0 && name[1] == 0) {
        for (size_t i = 0; i + 1 < bytes; i += 2) {
            char16_t unit;
            std::memcpy(&unit, name + i, 2);
            if (unit == 0)
                break;
            path->push_back(unit);
        }
    } else {
        for (size_t i = 0; i < bytes && name[i] != 0; ++i)
            path->push_back(static_cast<unsigned char>(name[i]));
    }
    return !path->empty();
}

bool RegisterResumeNotices(Window window) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto registerNotices =
        user32 ? reinterpret_cast<RegisterSuspendResume>(reinterpret_cast<void (*)()>(
                     GetProcAddress(user32, "RegisterSuspendResumeNotification")))
               : nullptr;
    // The registration lives as long as the process.
    return registerNotices &&
           registerNotices(win32::ToHwnd(window), DEVICE_NOTIFY_WINDOW_HANDLE) != nullptr;
}

bool TopLevelWindowOfClassExists(const char* className) {
    return FindWindowA(className, nullptr) != nullptr;
}

} // namespace platform
