// What the tool needs of the media framework: the capture devices of a category, their friendly
// names and capture filters, and the camera's three property interfaces. Every interface handle
// is reference counted; Release gives up the caller's reference (see held.h for a holder).
#pragma once

#include "platform/types.h"

#include <string>

namespace platform {

struct FilterTag;
struct DeviceListTag;
struct DeviceTag;
struct VideoProcAmpTag;
struct CameraControlTag;
struct PropertySetTag;

using Filter = FilterTag*;               // a capture filter (IBaseFilter)
using DeviceList = DeviceListTag*;       // the devices of one category (IEnumMoniker)
using Device = DeviceTag*;               // one device (IMoniker)
using VideoProcAmp = VideoProcAmpTag*;   // picture properties (IAMVideoProcAmp)
using CameraControl = CameraControlTag*; // exposure and focus (IAMCameraControl)
using PropertySet = PropertySetTag*;     // kernel-streaming properties (IKsPropertySet)

enum class DeviceCategory {
    VideoInput, // CLSID_VideoInputDeviceCategory, which discovery lists
    Capture,    // AM_KSCATEGORY_CAPTURE, which the preview graph's lookup lists
};

struct Guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

struct PropertyRange {
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t step = 0;
    int32_t defaultValue = 0;
    int32_t capabilities = 0;
};

// CoInitialize(null) on the calling thread; the result is not needed.
void InitializeComOnThread();
// The system device enumerator's class enumerator for a category: S_OK and a list; S_FALSE and
// none for an empty category; or the failure of creating either enumerator.
HResult OpenDeviceList(DeviceCategory category, DeviceList* list);
// IEnumMoniker::Next(1): the next device, or null at the end.
Device NextDevice(DeviceList list);
// BindToStorage(IPropertyBag) and Read("FriendlyName"): the name as UTF-16 code units; a failure
// of either step is returned and the name is left alone.
HResult ReadFriendlyName(Device device, std::u16string* name);
// The same for "DevicePath": the device interface path that names the device in every category it
// is listed in; a device registered without one answers 0x80070002.
HResult ReadDevicePath(Device device, std::u16string* path);
// BindToObject(IBaseFilter): the device's capture filter, or null.
Filter BindFilter(Device device);

// QueryInterface on a capture filter for one of the camera interfaces.
HResult QueryVideoProcAmp(Filter filter, VideoProcAmp* out);
HResult QueryCameraControl(Filter filter, CameraControl* out);
HResult QueryPropertySet(Filter filter, PropertySet* out);

// IAMVideoProcAmp GetRange, Get, Set.
HResult ProcAmpRange(VideoProcAmp amp, int32_t property, PropertyRange* range);
HResult ProcAmpGet(VideoProcAmp amp, int32_t property, int32_t* value, int32_t* flags);
HResult ProcAmpSet(VideoProcAmp amp, int32_t property, int32_t value, int32_t flags);
// IAMCameraControl GetRange, Get, Set.
HResult ControlRange(CameraControl control, int32_t property, PropertyRange* range);
HResult ControlGet(CameraControl control, int32_t property, int32_t* value, int32_t* flags);
HResult ControlSet(CameraControl control, int32_t property, int32_t value, int32_t flags);
// IKsPropertySet Set and Get, with no instance data.
HResult PropertySetSet(PropertySet set, const Guid& propertySet, uint32_t id, const void* data,
                       uint32_t size);
HResult PropertySetGet(PropertySet set, const Guid& propertySet, uint32_t id, void* data,
                       uint32_t size, uint32_t* returned);

void AddRef(Filter filter);
void Release(Filter filter);
void Release(DeviceList list);
void Release(Device device);
void Release(VideoProcAmp amp);
void Release(CameraControl control);
void Release(PropertySet set);

} // namespace platform
