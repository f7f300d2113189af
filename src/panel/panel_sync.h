// Keeps the panel in step with the selected camera and its record: slider ranges and check boxes
// from the camera, the record on the panel, the camera's defaults, the parameter controls around
// the internal preview, the enabled state, and the rescan after a device notice.
#pragma once

void RefreshControlRanges(int slot);
void ShowCameraSettings();
void LoadDefaultSettings(int slot);
// Shows or hides every parameter control with a show command (0 hide, 1 show normally).
void ShowParameterControls(int command);
void DisableCameraControls();
void EnableCameraControls();
void RescanCameras(bool removal);
