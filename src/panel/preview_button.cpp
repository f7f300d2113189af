#include "panel/preview_button.h"

#include "camera/preview_graph.h"
#include "core/control_ids.h"
#include "panel/main_window.h"
#include "platform/window_system.h"

void UpdatePreviewButton() {
    const int state = PreviewState();
    if (state == kPreviewStopped)
        platform::SetText(ControlOf(IDC_BTPREVW), "Preview");
    else if (state == kPreviewRunning)
        platform::SetText(ControlOf(IDC_BTPREVW), "Stop");
}
