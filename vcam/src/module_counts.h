// The DLL may unload only when no object it made is alive and no client holds a server lock.
#pragma once

#include "vcam_headers.h"

namespace vcam {

void ObjectCreated();
void ObjectDestroyed();
void ServerLock(bool lock);
bool CanUnload();
HMODULE ThisModule();
void SetThisModule(HMODULE module);

// Derive from this to be counted.
struct CountedObject {
    CountedObject() { ObjectCreated(); }
    ~CountedObject() { ObjectDestroyed(); }
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;
};

} // namespace vcam
