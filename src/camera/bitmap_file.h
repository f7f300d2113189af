// Writing one uncompressed bitmap file: file header, info block, pixels.
#pragma once

#include "platform/types.h"

#include <cstdint>

// The file is written beside its path and put in place only when every write succeeded, so a
// failed capture never destroys the image that stood there nor leaves a truncated one. Only where
// the folder leaves no room for a second name within the file functions' path limit is the file
// written in place; a failed write then removes what it wrote.
platform::HResult WriteBitmapFile(const char* path, const uint8_t* info, uint32_t infoSize,
                                  const uint8_t* pixels, uint32_t pixelSize);
