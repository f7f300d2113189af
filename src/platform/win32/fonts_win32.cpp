// The controls' font.
#include "platform/win32/handles_win32.h"

#include "platform/window_system.h"

namespace platform {

Font CreateControlFont(const char* face, int height, int weight) {
    return reinterpret_cast<Font>(
        CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, face));
}

void DeleteControlFont(Font font) {
    if (font)
        DeleteObject(reinterpret_cast<HFONT>(font));
}

void SetControlFont(Window control, Font font) {
    SendMessageA(win32::ToHwnd(control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

} // namespace platform
