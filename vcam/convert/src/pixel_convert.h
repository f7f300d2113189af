// The uncompressed inputs turned into the RGB24 the converter sends: a bottom-up B, G, R DIB,
// rows padded to 4 bytes, from BT.601 limited-range YUV (what webcams' YUY2 and NV12 carry).
#pragma once

#include <cstdint>

namespace convert {

// YUY2: Y0 U Y1 V for each pixel pair, top-down rows of 2 * width bytes. Width even.
void Yuy2ToDib(const uint8_t* yuy2, long width, long height, uint8_t* dib);
// NV12: the luma plane (width bytes a row), then one interleaved U V plane at half height.
// Width and height even.
void Nv12ToDib(const uint8_t* nv12, long width, long height, uint8_t* dib);

} // namespace convert
