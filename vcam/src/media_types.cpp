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
    // Uncompressed rows are padded to 4 bytes; a compressed frame gets the same room.
    const DWORD stride = ((static_cast<DWORD>(format.width) * format.bitCount / 8) + 3) & ~3u;
    bmi.biSizeImage = stride * static_cast<DWORD>(format.height);
    info->rcSource = {0, 0, format.width, format.height};
    info->rcTarget = info->rcSource;
    info->AvgTimePerFrame = interval;
    info->dwBitRate = static_cast<DWORD>(static_cast<double>(bmi.biSizeImage) * 8.0 * 10000000.0 /
                                         static_cast<double>(interval));
    type->majortype = MEDIATYPE_Video;
    type->subtype = format.subtype;
    type->bFixedSizeSamples = format.compression == BI_RGB;
    type->bTemporalCompression = FALSE;
    type->lSampleSize = format.compression == BI_RGB ? bmi.biSizeImage : 0;
    type->formattype = FORMAT_VideoInfo;
    type->cbFormat = sizeof(VIDEOINFOHEADER);
    type->pbFormat = reinterpret_cast<BYTE*>(info);
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
        if (f.subtype != type.subtype || f.width != info->bmiHeader.biWidth ||
            f.height != info->bmiHeader.biHeight)
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
    wchar_t text[64];
    StringFromGUID2(subtype, text, 64);
    return WideToUtf8(text);
}

std::string DescribeVideoType(const AM_MEDIA_TYPE& type) {
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
