#include "app/selected_camera.h"

#include "app/shell_state.h"

CameraSettings& SelectedRecord() {
    static CameraSettings scratch;
    CameraSettings* record = RecordOf(Shell.selectedCamera);
    return record ? *record : scratch;
}
