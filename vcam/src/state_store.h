// The current property values of every camera, kept in the state file so that they outlive the
// process like a real camera's settings do. One line per property:
//   cam=0 procamp id=0 words=150,2          (value, flags)
//   cam=0 vendor id=7 words=0,0,0,1,0
// The file is read again on every request and rewritten whole on every change, under a mutex
// shared by the prefix's processes, so two programs using the same camera see each other's sets.
#pragma once

#include "camera_config.h"

#include <cstdint>
#include <vector>

namespace vcam {

// The stored words of that property; false when the file has none.
bool LoadStoredWords(int camera, Interface where, long id, std::vector<int32_t>* words);
void StoreWords(int camera, Interface where, long id, const std::vector<int32_t>& words);

} // namespace vcam
