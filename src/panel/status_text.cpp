#include "panel/status_text.h"

#include "app/shell_state.h"
#include "panel/control_ids.h"
#include "platform/window_system.h"
#include "settings/camera_settings.h"

#include <cstdio>

void SetStatusText(const char* text) {
    platform::SetText(ControlOf(IDC_SBSTATUS), text);
}

void FormatCameraLabel(int slot, char* text, int size) {
    std::snprintf(text, static_cast<size_t>(size), "Camera %d: %s", slot + 1,
                  CameraRecords[slot].Name);
}
