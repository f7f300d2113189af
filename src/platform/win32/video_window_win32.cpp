// The renderer's video window: shown or hidden, styled, owned and placed in the main window.
#include "platform/win32/graph_handles_win32.h"

namespace platform {

HResult VideoWindowVisible(VideoWindow window, bool visible) {
    return win32::ToVideoWindow(window)->put_Visible(visible ? OATRUE : OAFALSE);
}

HResult VideoWindowStyle(VideoWindow window, int32_t style) {
    IVideoWindow* video = win32::ToVideoWindow(window);
    // Windows' renderer keeps its window shown or hidden across a style change. Wine's stores the
    // style word as given, and the words the preview uses carry no WS_VISIBLE, so a running
    // preview moved in or out would vanish: show it again when it was shown before.
    long visible = OAFALSE;
    const bool wasShown = SUCCEEDED(video->get_Visible(&visible)) && visible == OATRUE;
    const HRESULT result = video->put_WindowStyle(style);
    if (SUCCEEDED(result) && wasShown)
        video->put_Visible(OATRUE);
    return result;
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
