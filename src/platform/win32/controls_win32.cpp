// Buttons' check state and trackbars' range and position.
#include "platform/win32/handles_win32.h"

#include <commctrl.h>

#include "platform/window_system.h"

namespace platform {

void SetCheck(Window control, int state) {
    SendMessageA(win32::ToHwnd(control), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

int IsChecked(Window parent, int id) {
    return static_cast<int>(IsDlgButtonChecked(win32::ToHwnd(parent), id));
}

void SetTrackbarRange(Window trackbar, uint32_t packedRange) {
    SendMessageA(win32::ToHwnd(trackbar), TBM_SETRANGE, TRUE, static_cast<LPARAM>(packedRange));
}

void SetTrackbarPosition(Window trackbar, int position) {
    SendMessageA(win32::ToHwnd(trackbar), TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
}

int TrackbarPosition(Window trackbar) {
    return static_cast<int>(SendMessageA(win32::ToHwnd(trackbar), TBM_GETPOS, 0, 0));
}

} // namespace platform
