// The picture the camera sends, designed to be checked pixel by pixel (docs/vcam.md):
// in image coordinates (x to the right, y downwards, y = 0 the top row)
//   rows with 4*y < 3*height: eight vertical colour bars, bar = 8*x/width, colours (R,G,B) with
//     levels 200 and 40: white, yellow, cyan, green, magenta, red, blue, black;
//   the other rows: 32 cells, cell = 32*x/width, grey 224 where bit `cell` of the frame number
//     is set, grey 32 where it is clear (cell 0 = lowest bit, on the left);
//   then every channel of every pixel is offset by brightness - 128 and clamped to 0..255.
// The frame is an RGB24 DIB: rows bottom-up, bytes B, G, R, rows padded to 4 bytes.
#pragma once

#include <cstdint>

namespace vcam {

struct Rgb {
    uint8_t r, g, b;
};

// The colour of one pixel before the brightness offset.
Rgb PatternColour(long x, long y, long width, long height, uint32_t frameNumber);
void DrawTestPattern(uint8_t* frame, long width, long height, uint32_t frameNumber,
                     long brightness);

// The same picture as YUV with BT.601 limited range (docs/vcam.md gives the integer formula):
// YUY2 is Y0 U Y1 V per pixel pair, top-down, the pair's chroma that of its left pixel; NV12 is
// the luma plane then one interleaved U V plane at half height, the chroma of each 2x2 block that
// of its top-left pixel. Widths and heights must be even.
struct Yuv {
    uint8_t y, u, v;
};
Yuv Bt601Limited(Rgb c);
void DrawTestPatternYuy2(uint8_t* frame, long width, long height, uint32_t frameNumber,
                         long brightness);
void DrawTestPatternNv12(uint8_t* frame, long width, long height, uint32_t frameNumber,
                         long brightness);

} // namespace vcam
