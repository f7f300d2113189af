#include "test_pattern.h"

#include <cstring>
#include <vector>

namespace vcam {
namespace {

const Rgb kBars[8] = {{200, 200, 200}, {200, 200, 40}, {40, 200, 200}, {40, 200, 40},
                      {200, 40, 200},  {200, 40, 40},  {40, 40, 200},  {40, 40, 40}};

uint8_t Offset(uint8_t level, long brightness) {
    const long v = level + brightness - 128;
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// One stored row (B, G, R order) of the given image row; all rows of a region are alike.
void DrawRow(uint8_t* row, long y, long width, long height, uint32_t frameNumber, long brightness) {
    for (long x = 0; x < width; ++x) {
        const Rgb c = PatternColour(x, y, width, height, frameNumber);
        row[3 * x] = Offset(c.b, brightness);
        row[3 * x + 1] = Offset(c.g, brightness);
        row[3 * x + 2] = Offset(c.r, brightness);
    }
}

Rgb Lit(long x, long y, long width, long height, uint32_t frameNumber, long brightness) {
    const Rgb c = PatternColour(x, y, width, height, frameNumber);
    return {Offset(c.r, brightness), Offset(c.g, brightness), Offset(c.b, brightness)};
}

// The YUV of every pixel of one image row.
std::vector<Yuv> YuvRow(long y, long width, long height, uint32_t frameNumber, long brightness) {
    std::vector<Yuv> row(static_cast<size_t>(width));
    for (long x = 0; x < width; ++x)
        row[static_cast<size_t>(x)] =
            Bt601Limited(Lit(x, y, width, height, frameNumber, brightness));
    return row;
}

} // namespace

Yuv Bt601Limited(Rgb c) {
    // Floor division by 256 (arithmetic shift) of the rounded sums.
    const int r = c.r, g = c.g, b = c.b;
    return {static_cast<uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16),
            static_cast<uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128),
            static_cast<uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128)};
}

void DrawTestPatternYuy2(uint8_t* frame, long width, long height, uint32_t frameNumber,
                         long brightness) {
    const size_t stride = static_cast<size_t>(width) * 2;
    const long barRows = (3 * height + 3) / 4;
    std::vector<uint8_t> rows[2];
    for (int region = 0; region < 2; ++region) {
        const std::vector<Yuv> yuv =
            YuvRow(region == 0 ? 0 : height - 1, width, height, frameNumber, brightness);
        rows[region].resize(stride);
        for (long x = 0; x + 1 < width; x += 2) {
            uint8_t* p = &rows[region][static_cast<size_t>(x) * 2];
            p[0] = yuv[static_cast<size_t>(x)].y;
            p[1] = yuv[static_cast<size_t>(x)].u;
            p[2] = yuv[static_cast<size_t>(x) + 1].y;
            p[3] = yuv[static_cast<size_t>(x)].v;
        }
    }
    for (long y = 0; y < height; ++y)
        std::memcpy(frame + static_cast<size_t>(y) * stride, rows[y < barRows ? 0 : 1].data(),
                    stride);
}

void DrawTestPatternNv12(uint8_t* frame, long width, long height, uint32_t frameNumber,
                         long brightness) {
    const size_t w = static_cast<size_t>(width);
    const long barRows = (3 * height + 3) / 4;
    std::vector<uint8_t> luma[2], chroma[2];
    for (int region = 0; region < 2; ++region) {
        const std::vector<Yuv> yuv =
            YuvRow(region == 0 ? 0 : height - 1, width, height, frameNumber, brightness);
        luma[region].resize(w);
        chroma[region].resize(w);
        for (size_t x = 0; x < w; ++x)
            luma[region][x] = yuv[x].y;
        for (size_t x = 0; x + 1 < w; x += 2) {
            chroma[region][x] = yuv[x].u;
            chroma[region][x + 1] = yuv[x].v;
        }
    }
    for (long y = 0; y < height; ++y)
        std::memcpy(frame + static_cast<size_t>(y) * w, luma[y < barRows ? 0 : 1].data(), w);
    uint8_t* plane = frame + w * static_cast<size_t>(height);
    for (long cy = 0; cy < height / 2; ++cy)
        std::memcpy(plane + static_cast<size_t>(cy) * w, chroma[2 * cy < barRows ? 0 : 1].data(),
                    w);
}

Rgb PatternColour(long x, long y, long width, long height, uint32_t frameNumber) {
    if (4 * y < 3 * height)
        return kBars[8 * x / width];
    const long cell = 32 * x / width;
    const uint8_t level = (frameNumber >> cell) & 1u ? 224 : 32;
    return {level, level, level};
}

void DrawTestPattern(uint8_t* frame, long width, long height, uint32_t frameNumber,
                     long brightness) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    const long barRows = (3 * height + 3) / 4; // rows y with 4*y < 3*height
    std::vector<uint8_t> bars(stride, 0), cells(stride, 0);
    DrawRow(bars.data(), 0, width, height, frameNumber, brightness);
    DrawRow(cells.data(), height - 1, width, height, frameNumber, brightness);
    for (long y = 0; y < height; ++y) {
        // Image row y is stored row height-1-y: the DIB is bottom-up.
        uint8_t* stored = frame + static_cast<size_t>(height - 1 - y) * stride;
        std::memcpy(stored, y < barRows ? bars.data() : cells.data(), stride);
    }
}

} // namespace vcam
