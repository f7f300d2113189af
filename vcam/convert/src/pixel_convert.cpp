#include "pixel_convert.h"

namespace convert {
namespace {

uint8_t Clamp(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// BT.601 limited range to R, G, B in 8-bit fixed point: R = 1.164 (Y - 16) + 1.596 (V - 128),
// G = 1.164 (Y - 16) - 0.391 (U - 128) - 0.813 (V - 128), B = 1.164 (Y - 16) + 2.018 (U - 128).
void Pixel(int y, int u, int v, uint8_t* bgr) {
    const int c = 298 * (y - 16) + 128, d = u - 128, e = v - 128;
    bgr[0] = Clamp((c + 516 * d) >> 8);
    bgr[1] = Clamp((c - 100 * d - 208 * e) >> 8);
    bgr[2] = Clamp((c + 409 * e) >> 8);
}

long Stride(long width) {
    return (width * 3 + 3) & ~3L;
}

} // namespace

void Yuy2ToDib(const uint8_t* yuy2, long width, long height, uint8_t* dib) {
    const long stride = Stride(width);
    for (long y = 0; y < height; ++y) {
        const uint8_t* in = yuy2 + y * width * 2;
        uint8_t* out = dib + (height - 1 - y) * stride;
        for (long x = 0; x + 1 < width; x += 2, in += 4) {
            Pixel(in[0], in[1], in[3], out + 3 * x);
            Pixel(in[2], in[1], in[3], out + 3 * x + 3);
        }
    }
}

void Nv12ToDib(const uint8_t* nv12, long width, long height, uint8_t* dib) {
    const long stride = Stride(width);
    const uint8_t* chroma = nv12 + width * height;
    for (long y = 0; y < height; ++y) {
        const uint8_t* luma = nv12 + y * width;
        const uint8_t* uv = chroma + (y / 2) * width;
        uint8_t* out = dib + (height - 1 - y) * stride;
        for (long x = 0; x + 1 < width; x += 2) {
            Pixel(luma[x], uv[x], uv[x + 1], out + 3 * x);
            Pixel(luma[x + 1], uv[x], uv[x + 1], out + 3 * x + 3);
        }
    }
}

} // namespace convert
