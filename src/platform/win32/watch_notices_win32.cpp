// What the command-line program's watch listens to beside the message loop: the capture device
// interface notices, the resume notices, and whether the window program is up.
#include "platform/win32/handles_win32.h"

#include <dbt.h>

#include "platform/window_system.h"

#include <cstring>

namespace platform {
namespace {

// KSCATEGORY_CAPTURE (AM_KSCATEGORY_CAPTURE): a webcam's capture interface, whose path is the
// "DevicePath" of its moniker in the video input category as well.
constexpr GUID kCaptureInterface = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// RegisterSuspendResumeNotification (Windows 8 and later; a stub in Wine 8).
using RegisterSuspendResume = HANDLE(WINAPI*)(HANDLE recipient, DWORD flags);

} // namespace

bool RegisterCaptureDeviceNotices(Window window) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureInterface;
    // Lives as long as the window, as the window program's USB registration does.
    return RegisterDeviceNotificationA(win32::ToHwnd(window), &filter,
                                       DEVICE_NOTIFY_WINDOW_HANDLE) != nullptr;
}

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
