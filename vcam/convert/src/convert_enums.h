// IEnumPins over the converter's two pins and IEnumMediaTypes over at most one type. Each keeps
// its owner alive while it exists.
#pragma once

#include "vcam_headers.h"

namespace convert {

HRESULT CreatePinEnumerator(IBaseFilter* owner, IPin* input, IPin* output, ULONG position,
                            IEnumPins** out);
// type may be null (no type to offer); it is copied.
HRESULT CreateTypeEnumerator(IUnknown* owner, const AM_MEDIA_TYPE* type, ULONG position,
                             IEnumMediaTypes** out);

// The DLL unloads only when no object it made is alive and no client holds a server lock.
void ObjectCreated();
void ObjectDestroyed();
void ServerLock(bool lock);
bool CanUnload();
HMODULE ThisModule();

struct CountedObject {
    CountedObject() { ObjectCreated(); }
    ~CountedObject() { ObjectDestroyed(); }
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;
};

} // namespace convert
