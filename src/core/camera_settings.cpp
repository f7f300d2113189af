#include "core/camera_settings.h"

#include <cstring>

CameraSettings CameraRecords[kMaxCameras];
GeneralSettings General;
bool SettingsChanged = false;

void ClearCameraRecords() {
    std::memset(CameraRecords, 0, sizeof CameraRecords);
}

CameraSettings* RecordOf(int slot) {
    return slot >= 0 && slot < kMaxCameras ? &CameraRecords[slot] : nullptr;
}
