// The DLL's entry points: the class factory, the unload check, and the registration as a
// DirectShow filter that Intelligent Connect may pick: the class with ThreadingModel "Both", and
// through IFilterMapper2 an entry in CLSID_LegacyAmFilterCategory at MERIT_NORMAL whose filter
// data names the pins' types (video YUY2, NV12, MJPG in; video RGB24 out).
#include "convert_filter.h"

#include <uuids.h>

#include <string>

namespace convert {
namespace {

LONG g_objects = 0;
LONG g_locks = 0;
HMODULE g_module = nullptr;

class ClassFactory final : public IClassFactory {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // A static object: the count only tracks server locks.
    STDMETHODIMP_(ULONG) AddRef() override {
        ServerLock(true);
        return 2;
    }
    STDMETHODIMP_(ULONG) Release() override {
        ServerLock(false);
        return 1;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return ConvertFilter::Create(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        ServerLock(lock != FALSE);
        return S_OK;
    }
};

ClassFactory g_factory;

std::wstring ClassKey() {
    wchar_t text[64];
    StringFromGUID2(kConverterClass, text, 64);
    return std::wstring(L"Software\\Classes\\CLSID\\") + text;
}

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

HRESULT RegisterClassKey() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, (ClassKey() + L"\\InprocServer32").c_str(), 0,
                                  nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = SetString(key, nullptr, path);
        if (status == ERROR_SUCCESS)
            status = SetString(key, L"ThreadingModel", L"Both");
        RegCloseKey(key);
    }
    if (status == ERROR_SUCCESS && RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassKey().c_str(), 0,
                                                 KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        status = SetString(key, nullptr, kConverterName);
        RegCloseKey(key);
    }
    return HRESULT_FROM_WIN32(status);
}

// Calls f with the filter mapper, in a COM apartment of this thread for the call's length.
template <typename F> HRESULT WithMapper(F f) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT result;
    {
        ComPtr<IFilterMapper2> mapper;
        result =
            CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                             reinterpret_cast<void**>(mapper.GetAddressOf()));
        if (SUCCEEDED(result))
            result = f(mapper.Get());
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return result;
}

} // namespace

void ObjectCreated() {
    InterlockedIncrement(&g_objects);
}

void ObjectDestroyed() {
    InterlockedDecrement(&g_objects);
}

void ServerLock(bool lock) {
    if (lock)
        InterlockedIncrement(&g_locks);
    else
        InterlockedDecrement(&g_locks);
}

bool CanUnload() {
    return g_objects == 0 && g_locks == 0;
}

HMODULE ThisModule() {
    return g_module;
}

HRESULT RegisterServer() {
    HRESULT result = RegisterClassKey();
    if (FAILED(result))
        return result;
    static const REGPINTYPES inputs[3] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2},
                                          {&MEDIATYPE_Video, &MEDIASUBTYPE_NV12},
                                          {&MEDIATYPE_Video, &MEDIASUBTYPE_MJPG}};
    static const REGPINTYPES outputs[1] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24}};
    REGFILTERPINS2 pins[2] = {};
    pins[0].cInstances = 1;
    pins[0].nMediaTypes = 3;
    pins[0].lpMediaType = inputs;
    pins[1].dwFlags = REG_PINFLAG_B_OUTPUT;
    pins[1].cInstances = 1;
    pins[1].nMediaTypes = 1;
    pins[1].lpMediaType = outputs;
    REGFILTER2 filter{};
    filter.dwVersion = 2;
    filter.dwMerit = MERIT_NORMAL;
    filter.cPins2 = 2;
    filter.rgPins2 = pins;
    return WithMapper([&](IFilterMapper2* mapper) {
        return mapper->RegisterFilter(kConverterClass, kConverterName, nullptr,
                                      &CLSID_LegacyAmFilterCategory, nullptr, &filter);
    });
}

HRESULT UnregisterServer() {
    WithMapper([](IFilterMapper2* mapper) {
        return mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, kConverterClass);
    });
    const LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey().c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK
                                                                     : HRESULT_FROM_WIN32(status);
}

} // namespace convert

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        convert::g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (clsid != convert::kConverterClass)
        return CLASS_E_CLASSNOTAVAILABLE;
    return convert::g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
    return convert::CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    return convert::RegisterServer();
}

STDAPI DllUnregisterServer() {
    return convert::UnregisterServer();
}
