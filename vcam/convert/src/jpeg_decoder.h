// Baseline JPEG decoding for the test converter: 8-bit Huffman-coded frames of one (grey) or three
// (YCbCr, full range as JFIF defines it) components with any sampling factors of 1 or 2, restart
// intervals, and the usual Huffman tables assumed where a motion-JPEG frame carries none (as
// webcams' frames often do). Progressive, arithmetic-coded, 12-bit and lossless frames are refused.
// Plain C++, so it can be tried on the host too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace convert {

// The sample planes, kept from one frame to the next: a stream of frames of one size then
// allocates nothing after its first.
struct JpegScratch {
    std::vector<uint8_t> planes[3];
};

// Decodes the JPEG into a bottom-up B, G, R picture of exactly width x height, rows padded to 4
// bytes (`dib` holds that many). False, with `dib` in an unknown state, when the data is not such a
// JPEG of that size or is cut short or damaged.
bool DecodeJpegToDib(const uint8_t* data, size_t size, long width, long height, uint8_t* dib,
                     JpegScratch* scratch);

} // namespace convert
