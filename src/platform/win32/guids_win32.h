// GUIDs that not every SDK's import libraries provide (MinGW-w64's strmiids lacks some), defined
// once in guids_win32.cpp under names of our own so that they never clash with an SDK that has
// them.
#pragma once

#include "platform/win32/windows_headers_win32.h"

#include "platform/media.h"

namespace platform::win32 {

// AM_KSCATEGORY_CAPTURE: the kernel-streaming capture category.
extern const GUID kCaptureCategory;
// CLSID_SampleGrabber (qedit).
extern const GUID kSampleGrabberClass;
// IID_ISampleGrabber (qedit).
extern const GUID kSampleGrabberInterface;
// CLSID_NullRenderer (qedit).
extern const GUID kNullRendererClass;
// CLSID_VideoMixingRenderer9: declared by vmr9.h only, which would drag in d3d9.h.
extern const GUID kVideoMixingRenderer9Class;

inline GUID ToGuid(const Guid& guid) {
    GUID result;
    result.Data1 = guid.data1;
    result.Data2 = guid.data2;
    result.Data3 = guid.data3;
    for (int i = 0; i < 8; ++i)
        result.Data4[i] = guid.data4[i];
    return result;
}

} // namespace platform::win32
