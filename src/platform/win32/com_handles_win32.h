// The casts between the media handles and the COM interfaces behind them.
#pragma once

#include "platform/media.h"
#include "platform/win32/dshow_headers_win32.h"

namespace platform::win32 {

inline IBaseFilter* ToFilter(Filter filter) {
    return reinterpret_cast<IBaseFilter*>(filter);
}
inline IEnumMoniker* ToEnum(DeviceList list) {
    return reinterpret_cast<IEnumMoniker*>(list);
}
inline IMoniker* ToMoniker(Device device) {
    return reinterpret_cast<IMoniker*>(device);
}
inline IAMVideoProcAmp* ToProcAmp(VideoProcAmp amp) {
    return reinterpret_cast<IAMVideoProcAmp*>(amp);
}
inline IAMCameraControl* ToCameraControl(CameraControl control) {
    return reinterpret_cast<IAMCameraControl*>(control);
}
inline IKsPropertySet* ToPropertySet(PropertySet set) {
    return reinterpret_cast<IKsPropertySet*>(set);
}

} // namespace platform::win32
