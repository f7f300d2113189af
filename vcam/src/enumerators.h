// IEnumPins over the filter's one pin and IEnumMediaTypes over a snapshot of the pin's types.
// Both keep their owner alive while they exist.
#pragma once

#include "vcam_headers.h"

#include <vector>

namespace vcam {

HRESULT CreatePinEnumerator(IBaseFilter* owner, IPin* pin, ULONG position, IEnumPins** out);
// Copies the types; the caller keeps its own.
HRESULT CreateMediaTypeEnumerator(IUnknown* owner, const std::vector<const AM_MEDIA_TYPE*>& types,
                                  ULONG position, IEnumMediaTypes** out);

} // namespace vcam
