// The notices of USB device interfaces arriving and leaving, which tell the tool to look for
// cameras again.
#include "platform/win32/handles_win32.h"

#include <dbt.h>

#include "platform/window_system.h"

namespace platform {
namespace {

// GUID_DEVINTERFACE_USB_DEVICE: every USB device interface, cameras among them.
constexpr GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// The filter record's size is part of the request; 32 bytes on 64-bit Windows (the one-character
// name array is padded to the GUID's alignment).
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32, "filter record size");

} // namespace

bool RegisterUsbDeviceNotices(Window window) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kUsbDeviceInterface;
    // The registration lives as long as the window; the tool never unregisters it.
    HDEVNOTIFY notices =
        RegisterDeviceNotificationA(win32::ToHwnd(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    return notices != nullptr;
}

} // namespace platform
