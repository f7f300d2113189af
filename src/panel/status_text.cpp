#include "panel/status_text.h"

#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "panel/main_window.h"
#include "platform/window_system.h"

#include <cstdio>

void SetStatusText(const char* text) {
    platform::SetText(ControlOf(IDC_SBSTATUS), text);
}

void FormatCameraLabel(int slot, char* text, int size) {
    std::snprintf(text, static_cast<size_t>(size), "Camera %d: %s", slot + 1,
                  CameraRecords[slot].Name);
}
