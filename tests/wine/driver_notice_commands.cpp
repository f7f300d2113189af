// device-notice: the system's notice of a device interface arriving or leaving, sent to a window
// of another process with a real DEV_BROADCAST_DEVICEINTERFACE record (the path in the one-byte
// or the UTF-16 form). Wine packs the record for another process only for the DBT_ events with
// 0x8000 set, which arrival and removal are; it must be sent (a post is refused). Prints the
// tick count at the send and the window's answer.
#include "driver_commands.h"
#include "driver_windows.h"

#include <dbt.h>

#include <cstddef>
#include <vector>

namespace driver {
namespace {

// KSCATEGORY_CAPTURE, the class the watch registers for.
constexpr GUID kCaptureInterface = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The record with the path in the form asked for, its size counting the name's terminator.
std::vector<unsigned char> Record(const std::string& path, bool wide) {
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
    const size_t unit = wide ? 2 : 1;
    std::vector<unsigned char> bytes(nameOffset + (path.size() + 1) * unit, 0);
    auto* record = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(bytes.data());
    record->dbcc_size = static_cast<DWORD>(bytes.size());
    record->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    record->dbcc_classguid = kCaptureInterface;
    for (size_t i = 0; i < path.size(); ++i)
        bytes[nameOffset + i * unit] = static_cast<unsigned char>(path[i]); // ASCII paths
    return bytes;
}

} // namespace

int DeviceNotice(HWND window, const std::string& event, const std::string& path,
                 const std::string& form) {
    const bool arrival = event == "arrival";
    if ((!arrival && event != "removal") || (form != "a" && form != "w"))
        return Fail("device-notice TITLE arrival|removal PATH a|w\n");
    std::vector<unsigned char> record = Record(path, form == "w");
    LRESULT answer = 0;
    // The system's tick count when the notice goes out, on the clock of the camera's log (t=).
    const DWORD sentAt = GetTickCount();
    if (!SendAndWait(window, WM_DEVICECHANGE,
                     arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                     reinterpret_cast<LPARAM>(record.data()), &answer))
        return Fail("WM_DEVICECHANGE not answered: %lu\n", GetLastError());
    return Reply("t=%lu answer=%lld\n", static_cast<unsigned long>(sentAt),
                 static_cast<long long>(answer));
}

} // namespace driver
