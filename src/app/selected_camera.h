// The selected camera's record for the handlers. While no camera is selected the handlers write
// into a scratch record, so a stray message can never reach outside the six records.
#pragma once

#include "core/camera_settings.h"

CameraSettings& SelectedRecord();
