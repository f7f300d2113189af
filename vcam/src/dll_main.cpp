// The DLL's entry points: its class factory and the unload check. Objects count themselves
// (module_counts.h), so the DLL unloads only when every filter and enumerator is gone.
#include "module_counts.h"
#include "vcam_filter.h"
#include "vcam_guids.h"

namespace vcam {
namespace {

LONG g_objects = 0;
LONG g_locks = 0;
HMODULE g_module = nullptr;

// One static factory: it lives as long as the DLL, so its AddRef and Release only track locks.
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
        return VcamFilter::Create(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        ServerLock(lock != FALSE);
        return S_OK;
    }
};

ClassFactory g_factory;

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

void SetThisModule(HMODULE module) {
    g_module = module;
}

} // namespace vcam

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        vcam::SetThisModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (clsid != vcam::kFilterClass)
        return CLASS_E_CLASSNOTAVAILABLE;
    return vcam::g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
    return vcam::CanUnload() ? S_OK : S_FALSE;
}
