// Whether the grabber's buffered sample holds a whole frame of the connected format.
#pragma once

#include "platform/media_graph.h"

#include <cstdint>

// For an uncompressed video-info format: the sample has at least the bytes of all rows of the
// frame (each padded to 4 bytes). A camera pulled out while a frame was on its way can leave the
// first part of one behind. Other formats cannot be measured and count as whole.
bool HoldsWholeFrame(const platform::MediaType& type, int32_t sampleSize);
