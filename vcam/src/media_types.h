// AM_MEDIA_TYPE helpers: the video types of the capability list, copies in task memory (as COM
// callers free them), and the match of a requested type against the list.
#pragma once

#include "camera_config.h"

#include <string>
#include <vector>

namespace vcam {

// Owns the format block of a media type that lives by value.
struct OwnedMediaType {
    AM_MEDIA_TYPE type{};
    OwnedMediaType() = default;
    ~OwnedMediaType() { Clear(); }
    OwnedMediaType(const OwnedMediaType&) = delete;
    OwnedMediaType& operator=(const OwnedMediaType&) = delete;
    void Clear();
    HRESULT CopyFrom(const AM_MEDIA_TYPE& source);
};

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source);
void FreeMediaType(AM_MEDIA_TYPE* type); // the format block and pUnk, not the record
// A task-memory record and format block, as GetFormat, GetStreamCaps and Next hand out.
AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& source);

// The bytes of one uncompressed frame (RGB24 rows padded to 4 bytes, YUY2 2 per pixel, NV12 a
// luma plane and a half-height interleaved chroma plane); for MJPG the buffer room, 3 per pixel.
DWORD FrameBytes(const Capability& format);

// The VIDEOINFOHEADER type of that capability at that frame interval.
HRESULT BuildMediaType(const Capability& format, LONGLONG interval, AM_MEDIA_TYPE* type);
// A microphone's type: MEDIATYPE_Audio, PCM 48 kHz 16-bit mono, FORMAT_WaveFormatEx.
HRESULT BuildAudioType(AM_MEDIA_TYPE* type);
void FillStreamCaps(const Capability& format, VIDEO_STREAM_CONFIG_CAPS* caps);

// The capability a requested type asks for, -1 when none: video, FORMAT_VideoInfo with a whole
// header, the same subtype, biCompression, biBitCount and frame size, a biSizeImage that holds a
// frame (YUY2 and NV12: 0 or at least FrameBytes), and a frame interval in the
// capability's range (0 meaning the capability's fastest). *interval receives the interval to
// use. docs/camera-strictness.md gives each rule's source.
int MatchCapability(const std::vector<Capability>& formats, const AM_MEDIA_TYPE& type,
                    LONGLONG* interval);

// "RGB24", "MJPG", "YUY2" or the GUID in braces.
std::string SubtypeName(const GUID& subtype);
// "subtype=RGB24 width=1920 height=1080 avgtime=333333" for log lines.
std::string DescribeVideoType(const AM_MEDIA_TYPE& type);

} // namespace vcam
