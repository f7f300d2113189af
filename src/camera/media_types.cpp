#include "camera/media_types.h"

platform::MediaType Rgb24Video() {
    platform::MediaType type{};
    type.majorType = platform::kMediaTypeVideo;
    type.subtype = platform::kMediaSubtypeRgb24;
    return type;
}

void ClearMediaType(platform::MediaType& type) {
    if (type.formatSize != 0) {
        platform::FreeTaskMemory(type.format);
        type.formatSize = 0;
        type.format = nullptr;
    }
    if (type.unknown) {
        platform::ReleaseUnknown(type.unknown);
        type.unknown = nullptr;
    }
}

void DestroyMediaType(platform::MediaType* type) {
    if (!type)
        return;
    ClearMediaType(*type);
    platform::FreeTaskMemory(type);
}
