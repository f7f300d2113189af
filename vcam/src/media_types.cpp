#include "media_types.h"

#include "text_files.h"

#include <uuids.h>

namespace vcam {

void FreeMediaType(AM_MEDIA_TYPE* type) {
    if (type->cbFormat && type->pbFormat)
        CoTaskMemFree(type->pbFormat);
    type->pbFormat = nullptr;
    type->cbFormat = 0;
    if (type->pUnk) {
        type->pUnk->Release();
        type->pUnk = nullptr;
    }
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source) {
    *target = source;
    if (source.cbFormat && source.pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (!target->pbFormat) {
            target->cbFormat = 0;
            return E_OUTOFMEMORY;
        }
        CopyMemory(target->pbFormat, source.pbFormat, source.cbFormat);
    } else {
        target->pbFormat = nullptr;
        target->cbFormat = 0;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
}

void OwnedMediaType::Clear() {
    FreeMediaType(&type);
    type = AM_MEDIA_TYPE{};
}

HRESULT OwnedMediaType::CopyFrom(const AM_MEDIA_TYPE& source) {
    Clear();
    return CopyMediaType(&type, source);
}

AM_MEDIA_TYPE* NewMediaTypeCopy(const AM_MEDIA_TYPE& source) {
    auto* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!copy)
        return nullptr;
    if (FAILED(CopyMediaType(copy, source))) {
        CoTaskMemFree(copy);
        return nullptr;
    }
    return copy;
}

DWORD FrameBytes(const Capability& format) {
    const DWORD w = static_cast<DWORD>(format.width), h = static_cast<DWORD>(format.height);
    if (format.subtype == MEDIASUBTYPE_NV12)
        return w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2);
    if (format.subtype == MEDIASUBTYPE_YUY2)
        return 2 * ((w + 1) / 2) * 2 * h;
    return ((w * 3) + 3) / 4 * 4 * h; // RGB24 rows padded to 4 bytes; MJPG's room alike
}

HRESULT BuildMediaType(const Capability& format, LONGLONG interval, AM_MEDIA_TYPE* type) {
    *type = AM_MEDIA_TYPE{};
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return E_OUTOFMEMORY;
    ZeroMemory(info, sizeof *info);
    BITMAPINFOHEADER& bmi = info->bmiHeader;
    bmi.biSize = sizeof bmi;
    bmi.biWidth = format.width;
    bmi.biHeight = format.height;
    bmi.biPlanes = 1;
    bmi.biBitCount = format.bitCount;
    bmi.biCompression = format.compression;
    bmi.biSizeImage = FrameBytes(format);
    info->rcSource = {0, 0, format.width, format.height};
    info->rcTarget = info->rcSource;
    info->AvgTimePerFrame = interval;
    info->dwBitRate = static_cast<DWORD>(static_cast<double>(bmi.biSizeImage) * 8.0 * 10000000.0 /
                                         static_cast<double>(interval));
    type->majortype = MEDIATYPE_Video;
    type->subtype = format.subtype;
    const bool compressed = format.subtype == MEDIASUBTYPE_MJPG;
    type->bFixedSizeSamples = !compressed;
    type->bTemporalCompression = FALSE;
    type->lSampleSize = compressed ? 0 : bmi.biSizeImage;
    type->formattype = FORMAT_VideoInfo;
    type->cbFormat = sizeof(VIDEOINFOHEADER);
    type->pbFormat = reinterpret_cast<BYTE*>(info);
    return S_OK;
}

HRESULT BuildAudioType(AM_MEDIA_TYPE* type) {
    *type = AM_MEDIA_TYPE{};
    auto* wave = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
    if (!wave)
        return E_OUTOFMEMORY;
    *wave = WAVEFORMATEX{};
    wave->wFormatTag = WAVE_FORMAT_PCM;
    wave->nChannels = 1;
    wave->nSamplesPerSec = 48000;
    wave->wBitsPerSample = 16;
    wave->nBlockAlign = 2;
    wave->nAvgBytesPerSec = 96000;
    type->majortype = MEDIATYPE_Audio;
    type->subtype = MEDIASUBTYPE_PCM;
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = 2;
    type->formattype = FORMAT_WaveFormatEx;
    type->cbFormat = sizeof(WAVEFORMATEX);
    type->pbFormat = reinterpret_cast<BYTE*>(wave);
    return S_OK;
}

void FillStreamCaps(const Capability& format, VIDEO_STREAM_CONFIG_CAPS* caps) {
    ZeroMemory(caps, sizeof *caps);
    const SIZE size = {format.width, format.height};
    caps->guid = FORMAT_VideoInfo;
    caps->VideoStandard = 0;
    caps->InputSize = size;
    caps->MinCroppingSize = size;
    caps->MaxCroppingSize = size;
    caps->CropGranularityX = 1;
    caps->CropGranularityY = 1;
    caps->CropAlignX = 1;
    caps->CropAlignY = 1;
    caps->MinOutputSize = size;
    caps->MaxOutputSize = size;
    caps->OutputGranularityX = 1;
    caps->OutputGranularityY = 1;
    caps->MinFrameInterval = format.minInterval;
    caps->MaxFrameInterval = format.maxInterval;
    const double bitsPerFrame = static_cast<double>(format.width) * format.height * format.bitCount;
    caps->MinBitsPerSecond =
        static_cast<LONG>(bitsPerFrame * 10000000.0 / static_cast<double>(format.maxInterval));
    caps->MaxBitsPerSecond =
        static_cast<LONG>(bitsPerFrame * 10000000.0 / static_cast<double>(format.minInterval));
}

int MatchCapability(const std::vector<Capability>& formats, const AM_MEDIA_TYPE& type,
                    LONGLONG* interval) {
    if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo ||
        type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat)
        return -1;
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    for (size_t i = 0; i < formats.size(); ++i) {
        const Capability& f = formats[i];
        const BITMAPINFOHEADER& bmi = info->bmiHeader;
        if (f.subtype != type.subtype || f.width != bmi.biWidth || f.height != bmi.biHeight ||
            f.compression != bmi.biCompression || f.bitCount != bmi.biBitCount)
            continue;
        // The class driver's formats (YUY2, NV12) need room for a frame. RGB24 entries keep the
        // leniency of the camera's first design, which programs' requests rely on.
        if ((f.subtype == MEDIASUBTYPE_YUY2 || f.subtype == MEDIASUBTYPE_NV12) &&
            bmi.biSizeImage != 0 && bmi.biSizeImage < FrameBytes(f))
            continue;
        const LONGLONG asked = info->AvgTimePerFrame;
        if (asked == 0) {
            *interval = f.minInterval;
            return static_cast<int>(i);
        }
        // One unit of slack on either side: 10000000 / fps is rounded either way by callers.
        if (asked >= f.minInterval - 1 && asked <= f.maxInterval + 1) {
            *interval = asked < f.minInterval ? f.minInterval
                                              : (asked > f.maxInterval ? f.maxInterval : asked);
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string SubtypeName(const GUID& subtype) {
    if (subtype == MEDIASUBTYPE_RGB24)
        return "RGB24";
    if (subtype == MEDIASUBTYPE_MJPG)
        return "MJPG";
    if (subtype == MEDIASUBTYPE_YUY2)
        return "YUY2";
    if (subtype == MEDIASUBTYPE_NV12)
        return "NV12";
    wchar_t text[64];
    StringFromGUID2(subtype, text, 64);
    return WideToUtf8(text);
}

std::string DescribeVideoType(const AM_MEDIA_TYPE& type) {
    if (type.majortype == MEDIATYPE_Audio)
        return "subtype=PCM audio";
    std::string text = "subtype=" + SubtypeName(type.subtype);
    if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER) &&
        type.pbFormat) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        text += " width=" + std::to_string(info->bmiHeader.biWidth) +
                " height=" + std::to_string(info->bmiHeader.biHeight) +
                " avgtime=" + std::to_string(info->AvgTimePerFrame);
    } else {
        text += " format=other";
    }
    return text;
}

} // namespace vcam
