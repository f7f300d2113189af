// The small types in which the logic talks to the platform. Handles are opaque pointers: the
// Windows bindings cast them to HWND, HFONT, IBaseFilter* and so on; the simulated desktop casts
// them to its own records. Constants carry the platform's documented values under names that do
// not collide with the macros of the Windows headers.
#pragma once

#include <cstdint>

namespace platform {

using HResult = int32_t;

constexpr HResult kOk = 0;
constexpr HResult kFalse = 1;
constexpr HResult kFail = static_cast<HResult>(0x80004005u);
constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);
constexpr HResult kInvalidMediaType = static_cast<HResult>(0x80040200u); // VFW_E_INVALIDMEDIATYPE

inline bool Failed(HResult result) {
    return result < 0;
}

struct InstanceTag;
struct WindowTag;
struct FontTag;
struct IconTag;
struct HookTag;

using Instance = InstanceTag*;
using Window = WindowTag*;
using Font = FontTag*;
using Icon = IconTag*;
using Hook = HookTag*;

// The window procedure the logic gives the window class.
using WindowProcedure = intptr_t (*)(Window window, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam);

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

} // namespace platform
