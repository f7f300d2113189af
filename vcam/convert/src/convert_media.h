// The converter's media types: which inputs it takes, the RGB24 type it makes of one, and the
// copying and freeing of AM_MEDIA_TYPE records.
#pragma once

#include "vcam_headers.h"

namespace convert {

enum class InputKind { None, Yuy2, Nv12, Mjpg };

// What a type offered to the input pin is: video in FORMAT_VideoInfo with a whole header, YUY2
// (16 bits), NV12 (12 bits) or MJPG, a positive height, and an even width for YUY2 and NV12 (and
// an even height for NV12). None for anything else.
InputKind KindOf(const AM_MEDIA_TYPE& type);

// RGB24 of the input's size, bottom-up (positive biHeight), rows padded to 4 bytes, with the
// input's frame interval.
HRESULT BuildRgbType(const AM_MEDIA_TYPE& input, AM_MEDIA_TYPE* rgb);
long RgbFrameBytes(long width, long height);

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source);
void FreeMediaType(AM_MEDIA_TYPE* type); // the format block and pUnk, not the record
AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& source); // task memory, for enumerators

// Owns the format block of a media type held by value.
struct OwnedMediaType {
    AM_MEDIA_TYPE type{};
    OwnedMediaType() = default;
    ~OwnedMediaType() { Clear(); }
    OwnedMediaType(const OwnedMediaType&) = delete;
    OwnedMediaType& operator=(const OwnedMediaType&) = delete;
    void Clear() {
        FreeMediaType(&type);
        type = AM_MEDIA_TYPE{};
    }
    bool Empty() const { return type.majortype == GUID_NULL; }
};

} // namespace convert
