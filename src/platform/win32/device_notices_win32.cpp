// The notices of device interfaces arriving and leaving: every USB device for the window
// program, which then looks for cameras again; capture devices for the command-line watch.
#include "platform/win32/handles_win32.h"

#include <dbt.h>

#include "platform/window_system.h"

namespace platform {
namespace {

// GUID_DEVINTERFACE_USB_DEVICE: every USB device interface, cameras among them.
constexpr GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// KSCATEGORY_CAPTURE (AM_KSCATEGORY_CAPTURE): a webcam's capture interface, whose path is the
// "DevicePath" of its moniker in the video input category as well.
constexpr GUID kCaptureInterface = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The filter record's size is part of the request; 32 bytes on 64-bit Windows (the one-character
// name array is padded to the GUID's alignment).
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32, "filter record size");

// The notices of one device interface class. The registration lives as long as the window; no
// program here unregisters it.
bool RegisterInterfaceNotices(Window window, const GUID& interfaceClass) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = interfaceClass;
    return RegisterDeviceNotificationA(win32::ToHwnd(window), &filter,
                                       DEVICE_NOTIFY_WINDOW_HANDLE) != nullptr;
}

} // namespace

bool RegisterUsbDeviceNotices(Window window) {
    return RegisterInterfaceNotices(window, kUsbDeviceInterface);
}

bool RegisterCaptureDeviceNotices(Window window) {
    return RegisterInterfaceNotices(window, kCaptureInterface);
}

} // namespace platform
