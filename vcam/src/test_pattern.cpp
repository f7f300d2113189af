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

} // namespace

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
