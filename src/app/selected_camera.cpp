#include "app/selected_camera.h"

#include "core/shell_state.h"

CameraSettings& SelectedRecord() {
    static CameraSettings scratch;
    CameraSettings* record = RecordOf(Shell.selectedCamera);
    return record ? *record : scratch;
}
