#include "convert_media.h"

#include <uuids.h>

namespace convert {

InputKind KindOf(const AM_MEDIA_TYPE& type) {
    if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo ||
        type.cbFormat < sizeof(VIDEOINFOHEADER) || !type.pbFormat)
        return InputKind::None;
    const BITMAPINFOHEADER& bmi =
        reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (bmi.biWidth <= 0 || bmi.biHeight <= 0 || bmi.biWidth > 16384 || bmi.biHeight > 16384)
        return InputKind::None;
    const bool evenWidth = bmi.biWidth % 2 == 0;
    if (type.subtype == MEDIASUBTYPE_YUY2 && bmi.biCompression == MAKEFOURCC('Y', 'U', 'Y', '2') &&
        bmi.biBitCount == 16 && evenWidth)
        return InputKind::Yuy2;
    if (type.subtype == MEDIASUBTYPE_NV12 && bmi.biCompression == MAKEFOURCC('N', 'V', '1', '2') &&
        bmi.biBitCount == 12 && evenWidth && bmi.biHeight % 2 == 0)
        return InputKind::Nv12;
    if (type.subtype == MEDIASUBTYPE_MJPG && bmi.biCompression == MAKEFOURCC('M', 'J', 'P', 'G'))
        return InputKind::Mjpg;
    return InputKind::None;
}

long RgbFrameBytes(long width, long height) {
    return ((width * 3 + 3) & ~3L) * height;
}

HRESULT BuildRgbType(const AM_MEDIA_TYPE& input, AM_MEDIA_TYPE* rgb) {
    *rgb = AM_MEDIA_TYPE{};
    const auto* in = reinterpret_cast<const VIDEOINFOHEADER*>(input.pbFormat);
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return E_OUTOFMEMORY;
    ZeroMemory(info, sizeof *info);
    const long width = in->bmiHeader.biWidth, height = in->bmiHeader.biHeight;
    info->rcSource = {0, 0, width, height};
    info->rcTarget = info->rcSource;
    info->AvgTimePerFrame = in->AvgTimePerFrame;
    BITMAPINFOHEADER& bmi = info->bmiHeader;
    bmi.biSize = sizeof bmi;
    bmi.biWidth = width;
    bmi.biHeight = height;
    bmi.biPlanes = 1;
    bmi.biBitCount = 24;
    bmi.biCompression = BI_RGB;
    bmi.biSizeImage = static_cast<DWORD>(RgbFrameBytes(width, height));
    if (in->AvgTimePerFrame > 0)
        info->dwBitRate = static_cast<DWORD>(static_cast<double>(bmi.biSizeImage) * 8.0 *
                                             10000000.0 / static_cast<double>(in->AvgTimePerFrame));
    rgb->majortype = MEDIATYPE_Video;
    rgb->subtype = MEDIASUBTYPE_RGB24;
    rgb->bFixedSizeSamples = TRUE;
    rgb->lSampleSize = bmi.biSizeImage;
    rgb->formattype = FORMAT_VideoInfo;
    rgb->cbFormat = sizeof(VIDEOINFOHEADER);
    rgb->pbFormat = reinterpret_cast<BYTE*>(info);
    return S_OK;
}

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
    target->pbFormat = nullptr;
    target->cbFormat = 0;
    if (source.cbFormat && source.pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (!target->pbFormat) {
            target->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        CopyMemory(target->pbFormat, source.pbFormat, source.cbFormat);
        target->cbFormat = source.cbFormat;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
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

} // namespace convert
