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

} // namespace probe
