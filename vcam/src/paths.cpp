#include "paths.h"

#include "vcam_guids.h"
#include "vcam_headers.h"

namespace vcam {
namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[2048];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 2048);
    if (n == 0 || n >= 2048)
        return {};
    return WindowsPathOf(buffer);
}

std::wstring OrDefault(const wchar_t* variable, const wchar_t* file) {
    std::wstring path = Environment(variable);
    return path.empty() ? DefaultFolder() + L"\\" + file : path;
}

// The configuration path DllRegisterServer recorded under the filter's class key.
std::wstring RegisteredConfigPath() {
    wchar_t clsid[64];
    StringFromGUID2(kFilterClass, clsid, 64);
    const std::wstring key = std::wstring(L"Software\\Classes\\CLSID\\") + clsid;
    wchar_t value[2048];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ConfigFile", RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return value;
}

} // namespace

std::wstring WindowsPathOf(const std::wstring& path) {
    if (path.empty() || path[0] != L'/')
        return path;
    std::wstring windows = L"Z:" + path;
    for (wchar_t& c : windows)
        if (c == L'/')
            c = L'\\';
    return windows;
}

std::wstring DefaultFolder() {
    return L"C:\\framewright_vcam";
}

std::wstring ConfigPathFromEnvironment() {
    return Environment(L"FRAMEWRIGHT_VCAM_CONFIG");
}

std::wstring ConfigPath() {
    std::wstring path = ConfigPathFromEnvironment();
    return path.empty() ? RegisteredConfigPath() : path;
}

std::wstring StatePath() {
    return OrDefault(L"FRAMEWRIGHT_VCAM_STATE", L"state.txt");
}

std::wstring LogPath() {
    return OrDefault(L"FRAMEWRIGHT_VCAM_LOG", L"requests.log");
}

std::wstring UnplugPath() {
    return OrDefault(L"FRAMEWRIGHT_VCAM_UNPLUG", L"unplugged.txt");
}

} // namespace vcam
