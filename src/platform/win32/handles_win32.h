// The casts between the logic's opaque handles and the Windows types behind them, in one place so
// that every binding file agrees on what each handle is.
#pragma once

#include "platform/types.h"
#include "platform/win32/windows_headers_win32.h"

namespace platform::win32 {

inline HWND ToHwnd(Window window) {
    return reinterpret_cast<HWND>(window);
}
inline Window FromHwnd(HWND hwnd) {
    return reinterpret_cast<Window>(hwnd);
}
inline HINSTANCE ToHinstance(Instance instance) {
    return reinterpret_cast<HINSTANCE>(instance);
}

} // namespace platform::win32
