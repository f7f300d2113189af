// The media type a sample grabber is given, and releasing the framework's media type records.
#pragma once

#include "platform/media_graph.h"

// RGB24 video with no format block: what the grabber of every graph the tool builds asks for, so
// that the frames it keeps can be written as bitmaps.
platform::MediaType Rgb24Video();
// Frees the format block and releases the record's IUnknown; the record itself stays.
void ClearMediaType(platform::MediaType& type);
// ClearMediaType, then frees a record the framework allocated. Null does nothing.
void DestroyMediaType(platform::MediaType* type);
