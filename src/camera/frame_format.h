// Whether a buffered frame and the connected media type that should describe it agree, before the
// two are written out together as one bitmap file.
#pragma once

#include "platform/media_graph.h"

#include <cstdint>

// True when the type is a video-info format whose block holds its whole bitmap header (with the
// colour masks or palette the header calls for), the header describes an uncompressed RGB picture
// (width above 0, height not 0, one plane, 1, 4, 8, 16, 24 or 32 bits per pixel; masks only for 16
// and 32), and the frame has exactly the size that picture takes: rows padded to 4 bytes times the
// number of rows.
bool FrameMatchesFormat(const platform::MediaType& type, uint32_t frameSize);
