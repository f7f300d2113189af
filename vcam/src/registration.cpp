// DllRegisterServer / DllUnregisterServer: the filter's class with ThreadingModel "Both" (an MTA
// client otherwise gets a proxy that cannot enumerate pins), and one Instance key per configured
// camera in each of its categories. Key names "vcam00", "vcam01", ... are the same in both
// categories, so both list the cameras in index order (the enumerator sorts by key name).
// Registering again first removes every Instance key of this class, so stale cameras go.
#include "camera_config.h"
#include "module_counts.h"
#include "paths.h"
#include "request_log.h"
#include "vcam_guids.h"

#include <cstdio>
#include <string>
#include <vector>

namespace vcam {
namespace {

const wchar_t kClassesRoot[] = L"Software\\Classes\\CLSID\\";

std::wstring GuidText(const GUID& guid) {
    wchar_t text[64];
    StringFromGUID2(guid, text, 64);
    return text;
}

std::wstring InstanceRoot(const GUID& category) {
    return kClassesRoot + GuidText(category) + L"\\Instance";
}

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Removes the Instance keys of this filter's class; other devices' keys stay.
void RemoveOurInstances(const GUID& category) {
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, InstanceRoot(category).c_str(), 0, KEY_ALL_ACCESS,
                      &root) != ERROR_SUCCESS)
        return;
    const std::wstring ours = GuidText(kFilterClass);
    std::vector<std::wstring> doomed;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        wchar_t clsid[64] = {};
        DWORD size = sizeof clsid;
        if (RegGetValueW(root, name, L"CLSID", RRF_RT_REG_SZ, nullptr, clsid, &size) ==
                ERROR_SUCCESS &&
            lstrcmpiW(clsid, ours.c_str()) == 0)
            doomed.push_back(name);
    }
    for (const std::wstring& key : doomed)
        RegDeleteTreeW(root, key.c_str());
    RegCloseKey(root);
}

LONG AddInstance(const GUID& category, const CameraConfig& camera) {
    wchar_t keyName[16];
    std::swprintf(keyName, 16, L"vcam%02d", camera.index);
    const std::wstring path = InstanceRoot(category) + L"\\" + keyName;
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = SetString(key, L"FriendlyName", camera.name);
    if (status == ERROR_SUCCESS)
        status = SetString(key, L"CLSID", GuidText(kFilterClass));
    const std::wstring devicePath = DevicePathOf(camera);
    if (status == ERROR_SUCCESS && !devicePath.empty())
        status = SetString(key, L"DevicePath", devicePath);
    const DWORD index = static_cast<DWORD>(camera.index);
    if (status == ERROR_SUCCESS)
        status = RegSetValueExW(key, L"InstanceIndex", 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&index), sizeof index);
    RegCloseKey(key);
    return status;
}

LONG RegisterClassKey() {
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(ThisModule(), module, MAX_PATH);
    HKEY key = nullptr;
    const std::wstring classKey = kClassesRoot + GuidText(kFilterClass);
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, classKey.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    SetString(key, nullptr, L"Framewright Virtual Camera");
    // Programs started later without FRAMEWRIGHT_VCAM_CONFIG still find the configuration.
    const std::wstring config = ConfigPathFromEnvironment();
    if (config.empty())
        RegDeleteValueW(key, L"ConfigFile");
    else
        SetString(key, L"ConfigFile", config);
    HKEY server = nullptr;
    status = RegCreateKeyExW(key, L"InprocServer32", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &server, nullptr);
    if (status == ERROR_SUCCESS) {
        status = SetString(server, nullptr, module);
        if (status == ERROR_SUCCESS)
            status = SetString(server, L"ThreadingModel", L"Both");
        RegCloseKey(server);
    }
    RegCloseKey(key);
    return status;
}

} // namespace
} // namespace vcam

STDAPI DllRegisterServer() {
    using namespace vcam;
    CreateDirectoryW(DefaultFolder().c_str(), nullptr);
    LONG status = RegisterClassKey();
    RemoveOurInstances(kVideoInputCategory);
    RemoveOurInstances(kCaptureCategory);
    const Config config = LoadConfig();
    for (const std::string& problem : config.problems)
        LogNote(-1, "config ignored " + problem);
    for (const CameraConfig& camera : config.cameras) {
        if (status == ERROR_SUCCESS && camera.inVideoCategory)
            status = AddInstance(kVideoInputCategory, camera);
        if (status == ERROR_SUCCESS && camera.inCaptureCategory)
            status = AddInstance(kCaptureCategory, camera);
    }
    const HRESULT result = HRESULT_FROM_WIN32(status);
    LogRequest(-1, "register cameras=" + std::to_string(config.cameras.size()), result);
    return result == S_OK ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    using namespace vcam;
    RemoveOurInstances(kVideoInputCategory);
    RemoveOurInstances(kCaptureCategory);
    const std::wstring classKey = kClassesRoot + GuidText(kFilterClass);
    const LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey.c_str());
    LogRequest(-1, "unregister", HRESULT_FROM_WIN32(status));
    return S_OK;
}
