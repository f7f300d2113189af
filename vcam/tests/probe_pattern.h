// The probe's own reading of the test pattern described in docs/vcam.md, to check frames
// without borrowing the camera's drawing code.
#pragma once

#include <cstdint>

namespace probe {

struct FrameVerdict {
    bool matches;         // every pixel as the pattern says
    uint32_t frameNumber; // read from the bottom cells
    long wrongPixels;
    long firstWrongX, firstWrongY; // image coordinates, y = 0 the top row
};

// dib: bottom-up BGR rows padded to 4 bytes, as the sample grabber hands them out.
FrameVerdict VerifyFrame(const unsigned char* dib, long size, long width, long height,
                         long brightness);

// A top-down YUY2 frame (nv12 false) or NV12 frame of the same picture, converted with the
// BT.601 limited-range formula of docs/vcam.md; chroma from the left / top-left pixel.
FrameVerdict VerifyYuvFrame(const unsigned char* frame, long size, long width, long height,
                            long brightness, bool nv12);

// A frame that passed through a converter (YUV or JPEG to RGB): every channel within
// `tolerance` of the pattern, except pixels closer than `margin` to an edge between two bars,
// two cells or the bars and the cells, where chroma subsampling and JPEG blocks blur.
FrameVerdict VerifyFrameNear(const unsigned char* dib, long size, long width, long height,
                             long brightness, int tolerance, long margin);

} // namespace probe
