#include "probe_pattern.h"

namespace probe {
namespace {

int Clamp(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// R, G, B of the eight bars: white, yellow, cyan, green, magenta, red, blue, black at 200 / 40.
const int kBar[8][3] = {{200, 200, 200}, {200, 200, 40}, {40, 200, 200}, {40, 200, 40},
                        {200, 40, 200},  {200, 40, 40},  {40, 40, 200},  {40, 40, 40}};

} // namespace

FrameVerdict VerifyFrame(const unsigned char* dib, long size, long width, long height,
                         long brightness) {
    FrameVerdict verdict{false, 0, 0, -1, -1};
    const long stride = (width * 3 + 3) & ~3L;
    if (!dib || size < stride * height)
        return verdict;
    const int offset = static_cast<int>(brightness) - 128;
    const int on = Clamp(224 + offset);
    // The bottom image row is the first stored row; read the middle of each cell.
    for (long cell = 0; cell < 32; ++cell) {
        const long x = (2 * cell + 1) * width / 64;
        if (dib[3 * x] == on)
            verdict.frameNumber |= 1u << cell;
    }
    for (long y = 0; y < height; ++y) {
        const unsigned char* row = dib + (height - 1 - y) * stride;
        for (long x = 0; x < width; ++x) {
            int rgb[3];
            if (4 * y < 3 * height) {
                const int* bar = kBar[8 * x / width];
                rgb[0] = bar[0];
                rgb[1] = bar[1];
                rgb[2] = bar[2];
            } else {
                const long cell = 32 * x / width;
                rgb[0] = rgb[1] = rgb[2] = (verdict.frameNumber >> cell) & 1u ? 224 : 32;
            }
            const unsigned char* p = row + 3 * x;
            if (p[0] != Clamp(rgb[2] + offset) || p[1] != Clamp(rgb[1] + offset) ||
                p[2] != Clamp(rgb[0] + offset)) {
                if (verdict.wrongPixels++ == 0) {
                    verdict.firstWrongX = x;
                    verdict.firstWrongY = y;
                }
            }
        }
    }
    verdict.matches = verdict.wrongPixels == 0;
    return verdict;
}

} // namespace probe
