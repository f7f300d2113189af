// The identifiers the camera registers and answers to that MinGW's libraries do not provide.
#pragma once

#include "vcam_headers.h"

namespace vcam {

// The camera's filter class: {EA24B092-5406-439F-B626-F5AE1A5E6904}.
extern const GUID kFilterClass;
// The vendor's property set on the filter: {CAAE4966-272C-44A9-B792-71953F89DB2B}.
extern const GUID kVendorPropertySet;
// CLSID_VideoInputDeviceCategory, where DirectShow applications look for cameras.
extern const GUID kVideoInputCategory;
// AM_KSCATEGORY_CAPTURE, where a kernel-streaming camera is also listed.
extern const GUID kCaptureCategory;

} // namespace vcam
