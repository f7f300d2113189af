// The camera's three property interfaces, reached by QueryInterface on its capture filter.
#include "platform/win32/com_handles_win32.h"
#include "platform/win32/guids_win32.h"

namespace platform {

namespace {

template <class Interface, class Handle> HResult Query(Filter filter, Handle* out) {
    Interface* found = nullptr;
    const HRESULT result = win32::ToFilter(filter)->QueryInterface(
        __uuidof(Interface), reinterpret_cast<void**>(&found));
    if (SUCCEEDED(result) && found)
        *out = reinterpret_cast<Handle>(found);
    return result;
}

template <class Interface>
HResult Range(Interface* object, int32_t property, PropertyRange* range) {
    long minimum = 0, maximum = 0, step = 0, defaultValue = 0, capabilities = 0;
    const HRESULT result =
        object->GetRange(property, &minimum, &maximum, &step, &defaultValue, &capabilities);
    if (SUCCEEDED(result)) {
        range->minimum = minimum;
        range->maximum = maximum;
        range->step = step;
        range->defaultValue = defaultValue;
        range->capabilities = capabilities;
    }
    return result;
}

template <class Interface>
HResult Get(Interface* object, int32_t property, int32_t* value, int32_t* flags) {
    long current = 0, currentFlags = 0;
    const HRESULT result = object->Get(property, &current, &currentFlags);
    if (SUCCEEDED(result)) {
        *value = current;
        *flags = currentFlags;
    }
    return result;
}

} // namespace

HResult QueryVideoProcAmp(Filter filter, VideoProcAmp* out) {
    return Query<IAMVideoProcAmp>(filter, out);
}

HResult QueryCameraControl(Filter filter, CameraControl* out) {
    return Query<IAMCameraControl>(filter, out);
}

HResult QueryPropertySet(Filter filter, PropertySet* out) {
    return Query<IKsPropertySet>(filter, out);
}

HResult ProcAmpRange(VideoProcAmp amp, int32_t property, PropertyRange* range) {
    return Range(win32::ToProcAmp(amp), property, range);
}

HResult ProcAmpGet(VideoProcAmp amp, int32_t property, int32_t* value, int32_t* flags) {
    return Get(win32::ToProcAmp(amp), property, value, flags);
}

HResult ProcAmpSet(VideoProcAmp amp, int32_t property, int32_t value, int32_t flags) {
    return win32::ToProcAmp(amp)->Set(property, value, flags);
}

HResult ControlRange(CameraControl control, int32_t property, PropertyRange* range) {
    return Range(win32::ToCameraControl(control), property, range);
}

HResult ControlGet(CameraControl control, int32_t property, int32_t* value, int32_t* flags) {
    return Get(win32::ToCameraControl(control), property, value, flags);
}

HResult ControlSet(CameraControl control, int32_t property, int32_t value, int32_t flags) {
    return win32::ToCameraControl(control)->Set(property, value, flags);
}

HResult PropertySetSet(PropertySet set, const Guid& propertySet, uint32_t id, const void* data,
                       uint32_t size) {
    const GUID which = win32::ToGuid(propertySet);
    return win32::ToPropertySet(set)->Set(which, id, nullptr, 0, const_cast<void*>(data), size);
}

HResult PropertySetGet(PropertySet set, const Guid& propertySet, uint32_t id, void* data,
                       uint32_t size, uint32_t* returned) {
    const GUID which = win32::ToGuid(propertySet);
    DWORD bytes = 0;
    const HRESULT result =
        win32::ToPropertySet(set)->Get(which, id, nullptr, 0, data, size, &bytes);
    if (returned)
        *returned = bytes;
    return result;
}

void Release(VideoProcAmp amp) {
    win32::ToProcAmp(amp)->Release();
}

void Release(CameraControl control) {
    win32::ToCameraControl(control)->Release();
}

void Release(PropertySet set) {
    win32::ToPropertySet(set)->Release();
}

} // namespace platform
