// Still capture: the sample grabber's latest frame written as a bitmap file at "ImageSavePath",
// or at that path with a running number in place of its last four characters.
#pragma once

#include "platform/types.h"

#include <cstddef>
#include <cstdint>

constexpr size_t kImagePathSize = 260;

// 0 when the image was written. Nothing is written, and the counter is left as it was, when the
// connected format and the frame disagree (VFW_E_INVALIDMEDIATYPE), when "ImageSavePath" is longer
// than 254 characters, when a counted name does not fit or no number is left, or when the counter
// cannot be saved (E_FAIL); a file error gives 0x8007xxxx and hands the counted number back.
platform::HResult CaptureStill();
// Returns once the running preview's grabber holds a frame, at once when it already does or when
// none can come (no grabber, no connection, the graph not running), and after limitMs at most.
void WaitForFirstFrame(uint32_t limitMs);
// The counted name: the last four characters of the path replaced by the number ("%.06d") and
// ".bmp". False, with nothing written, for a path of fewer than four characters or a name that
// would not fit the buffer.
bool CountedImagePath(const char* savePath, int32_t counter, char (&path)[kImagePathSize]);
