// Whether a camera has been unplugged: the unplug file (paths.h) lists "removed N" lines, one per
// camera taken away. The file is looked at again on every request, so a camera can disappear
// while a program holds it, as a real one pulled from the USB port does.
#pragma once

#include "vcam_headers.h"

namespace vcam {

bool IsUnplugged(int camera);
// What every request to an unplugged camera returns.
constexpr HRESULT kDeviceGone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

} // namespace vcam
