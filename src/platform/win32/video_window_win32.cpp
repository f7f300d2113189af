// The renderer's video window: shown or hidden, styled, owned and placed in the main window.
#include "platform/win32/graph_handles_win32.h"

namespace platform {

HResult VideoWindowVisible(VideoWindow window, bool visible) {
    return win32::ToVideoWindow(window)->put_Visible(visible ? OATRUE : OAFALSE);
}

HResult VideoWindowStyle(VideoWindow window, int32_t style) {
    return win32::ToVideoWindow(window)->put_WindowStyle(style);
}

HResult VideoWindowOwner(VideoWindow window, Window owner) {
    return win32::ToVideoWindow(window)->put_Owner(reinterpret_cast<OAHWND>(owner));
}

HResult VideoWindowPosition(VideoWindow window, int x, int y, int width, int height) {
    return win32::ToVideoWindow(window)->SetWindowPosition(x, y, width, height);
}

void Release(VideoWindow window) {
    win32::ToVideoWindow(window)->Release();
}

} // namespace platform
