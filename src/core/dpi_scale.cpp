#include "core/dpi_scale.h"

#include <cstdint>

int ScaledToDpi(int value, int dpi) {
    const int64_t product = static_cast<int64_t>(value) * dpi;
    const int64_t half = kLayoutDpi / 2;
    // Integer division truncates towards zero, so the half is added on the side of the sign.
    return static_cast<int>((product >= 0 ? product + half : product - half) / kLayoutDpi);
}
