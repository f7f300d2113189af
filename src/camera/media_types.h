// Releasing the framework's media type records.
#pragma once

#include "platform/media_graph.h"

// Frees the format block and releases the record's IUnknown; the record itself stays.
void ClearMediaType(platform::MediaType& type);
// ClearMediaType, then frees a record the framework allocated. Null does nothing.
void DestroyMediaType(platform::MediaType* type);
