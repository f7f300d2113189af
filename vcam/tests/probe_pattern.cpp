#include "probe_pattern.h"

#include <cmath>
#include <cstdlib>

namespace probe {
namespace {

int Clamp(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// R, G, B of the eight bars: white, yellow, cyan, green, magenta, red, blue, black at 200 / 40.
const int kBar[8][3] = {{200, 200, 200}, {200, 200, 40}, {40, 200, 200}, {40, 200, 40},
                        {200, 40, 200},  {200, 40, 40},  {40, 40, 200},  {40, 40, 40}};

void Expected(long x, long y, long width, long height, uint32_t frame, int offset, int rgb[3]) {
    if (4 * y < 3 * height) {
        for (int i = 0; i < 3; ++i)
            rgb[i] = Clamp(kBar[8 * x / width][i] + offset);
    } else {
        rgb[0] = rgb[1] = rgb[2] = Clamp(((frame >> (32 * x / width)) & 1u ? 224 : 32) + offset);
    }
}

// Y, U, V of an RGB colour: the integer BT.601 limited-range formula, written out again here.
void ToYuv(const int rgb[3], int yuv[3]) {
    const int r = rgb[0], g = rgb[1], b = rgb[2];
    yuv[0] = (66 * r + 129 * g + 25 * b + 128) / 256 + 16;
    yuv[1] = static_cast<int>(std::floor((-38 * r - 74 * g + 112 * b + 128) / 256.0)) + 128;
    yuv[2] = static_cast<int>(std::floor((112 * r - 94 * g - 18 * b + 128) / 256.0)) + 128;
}

// Distance from x to the nearest edge between regions of `count` equal parts of `size`.
long EdgeDistance(long x, long size, long count) {
    long nearest = size;
    for (long k = 1; k < count; ++k) {
        const long edge = (k * size + count - 1) / count; // first x of part k
        const long d = x < edge ? edge - 1 - x : x - edge;
        nearest = d < nearest ? d : nearest;
    }
    return nearest;
}

} // namespace

FrameVerdict VerifyFrameNear(const unsigned char* dib, long size, long width, long height,
                             long brightness, int tolerance, long margin) {
    FrameVerdict verdict{false, 0, 0, -1, -1};
    const long stride = (width * 3 + 3) & ~3L;
    if (!dib || size < stride * height)
        return verdict;
    const int offset = static_cast<int>(brightness) - 128;
    const int on = Clamp(224 + offset), off = Clamp(32 + offset);
    for (long cell = 0; cell < 32; ++cell) {
        const long x = (2 * cell + 1) * width / 64;
        const int green = dib[3 * x + 1]; // bottom image row, the first stored
        if (2 * green > on + off)
            verdict.frameNumber |= 1u << cell;
    }
    const long barRows = (3 * height + 3) / 4;
    for (long y = 0; y < height; ++y) {
        const long dy = y < barRows ? barRows - 1 - y : y - barRows;
        const unsigned char* row = dib + (height - 1 - y) * stride;
        for (long x = 0; x < width; ++x) {
            const long dx = EdgeDistance(x, width, y < barRows ? 8 : 32);
            if (dx < margin || dy < margin)
                continue;
            int rgb[3];
            Expected(x, y, width, height, verdict.frameNumber, offset, rgb);
            const unsigned char* p = row + 3 * x;
            if (std::abs(p[0] - rgb[2]) > tolerance || std::abs(p[1] - rgb[1]) > tolerance ||
                std::abs(p[2] - rgb[0]) > tolerance) {
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

FrameVerdict VerifyYuvFrame(const unsigned char* frame, long size, long width, long height,
                            long brightness, bool nv12) {
    FrameVerdict verdict{false, 0, 0, -1, -1};
    const long needed = nv12 ? width * height * 3 / 2 : width * height * 2;
    if (!frame || size < needed)
        return verdict;
    const int offset = static_cast<int>(brightness) - 128;
    auto lumaAt = [&](long x, long y) {
        return nv12 ? frame[y * width + x] : frame[y * width * 2 + 2 * x];
    };
    int on[3], onYuv[3];
    on[0] = on[1] = on[2] = Clamp(224 + offset);
    ToYuv(on, onYuv);
    for (long cell = 0; cell < 32; ++cell)
        if (lumaAt((2 * cell + 1) * width / 64, height - 1) == onYuv[0])
            verdict.frameNumber |= 1u << cell;
    for (long y = 0; y < height; ++y)
        for (long x = 0; x < width; ++x) {
            int rgb[3], yuv[3], chroma[3];
            Expected(x, y, width, height, verdict.frameNumber, offset, rgb);
            ToYuv(rgb, yuv);
            Expected(x & ~1L, nv12 ? (y & ~1L) : y, width, height, verdict.frameNumber, offset,
                     rgb);
            ToYuv(rgb, chroma);
            int u = 0, v = 0;
            if (nv12) {
                const unsigned char* c = frame + width * height + (y / 2) * width + (x & ~1L);
                u = c[0];
                v = c[1];
            } else {
                const unsigned char* c = frame + y * width * 2 + (x & ~1L) * 2;
                u = c[1];
                v = c[3];
            }
            if (lumaAt(x, y) != yuv[0] || u != chroma[1] || v != chroma[2]) {
                if (verdict.wrongPixels++ == 0) {
                    verdict.firstWrongX = x;
                    verdict.firstWrongY = y;
                }
            }
        }
    verdict.matches = verdict.wrongPixels == 0;
    return verdict;
}

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
