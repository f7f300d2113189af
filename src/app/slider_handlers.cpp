// The slider table: every notification of a trackbar writes its value to the status bar, the
// record and the camera at once.
#include "app/handlers.h"
#include "app/selected_camera.h"
#include "app/shell_state.h"
#include "panel/control_ids.h"
#include "panel/status_text.h"
#include "platform/window_system.h"
#include "properties/camera_property.h"
#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"
#include "settings/camera_settings.h"

#include <cstdio>

using namespace platform;

namespace {

void CameraModeToManual() {
    SetCheck(ControlOf(IDC_RBMODAUT), 0);
    SetCheck(ControlOf(IDC_RBMODMAN), 1);
    SelectedRecord().FlagAutomatic = false;
}

// The status text with the value, the record field, and the picture property's write.
void PictureValue(CameraProperty property, const char* format, int32_t value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    SetStatusText(text);
    SelectedRecord().*InfoOf(property).value = value;
    SetVideoProcAmp(Shell.selectedCamera, InfoOf(property).platformProperty, value, kFlagsManual);
}

// Reads the thumb; a position above the limit puts the thumb at the limit (the value stays the
// position read).
int32_t ReadPosition(Window trackbar, int32_t limit) {
    const int32_t position = TrackbarPosition(trackbar);
    if (position > limit)
        SetTrackbarPosition(trackbar, limit);
    return position;
}

} // namespace

void HandleSlider(Window trackbar) {
    SettingsChanged = true;
    if (!trackbar)
        return;
    const int slot = Shell.selectedCamera;
    CameraSettings& record = SelectedRecord();
    char text[64];
    if (trackbar == ControlOf(IDC_TBBRIGHT)) {
        PictureValue(CameraProperty::Brightness, "Brightness Value: %d",
                     ReadPosition(trackbar, 255));
        CameraModeToManual();
    } else if (trackbar == ControlOf(IDC_TBCONTRA)) {
        PictureValue(CameraProperty::Contrast, "Contrast Value: %d", ReadPosition(trackbar, 255));
    } else if (trackbar == ControlOf(IDC_TBSATURA)) {
        PictureValue(CameraProperty::Saturation, "Saturation Value: %d",
                     ReadPosition(trackbar, 255));
    } else if (trackbar == ControlOf(IDC_TBSHARPN)) {
        PictureValue(CameraProperty::Sharpness, "Sharpness Value: %d", ReadPosition(trackbar, 255));
    } else if (trackbar == ControlOf(IDC_TBWHIBAL)) {
        PictureValue(CameraProperty::WhiteBalance, "White Balance Value: %d",
                     ReadPosition(trackbar, 10000));
        SetCheck(ControlOf(IDC_CKWHIBAL), 0);
        CameraModeToManual();
    } else if (trackbar == ControlOf(IDC_TBBACKCO)) {
        PictureValue(CameraProperty::BacklightCompensation, "BackLight Compensation Value: %d",
                     ReadPosition(trackbar, 1));
    } else if (trackbar == ControlOf(IDC_TBGAIN)) {
        PictureValue(CameraProperty::Gain, "Gain Value: %d", ReadPosition(trackbar, 255));
    } else if (trackbar == ControlOf(IDC_TBZOOM)) {
        const int32_t zoom = EvenZoom(ReadPosition(trackbar, 400));
        std::snprintf(text, sizeof text, "Zoom Value: %d", zoom);
        SetStatusText(text);
        record.Zoom = zoom;
        SetVendorZoom(slot, zoom);
    } else if (trackbar == ControlOf(IDC_TBEXPTIM)) {
        const int32_t exposure = ReadPosition(trackbar, 10000);
        if (exposure < 3)
            SetTrackbarPosition(trackbar, 3);
        // wsprintf has no floating-point conversion: the C library formats the seconds.
        std::snprintf(text, sizeof text, "Exposure Time Value: %.4f seconds",
                      static_cast<double>(static_cast<float>(exposure) * 0.0001f));
        SetStatusText(text);
        record.ExposureTime = exposure;
        SetVendorExposure(slot, exposure, kExposureManual);
        SetCheck(ControlOf(IDC_CKEXPTIM), 0);
        CameraModeToManual();
    } else if (trackbar == ControlOf(IDC_TBFOCUS)) {
        const int32_t focus = TrackbarPosition(trackbar);
        if (focus > 255)
            SetTrackbarPosition(trackbar, 1);
        std::snprintf(text, sizeof text, "Focus Value: %d", focus);
        SetStatusText(text);
        record.FocusValue = focus;
        SetFocus(slot, focus);
        SetCheck(ControlOf(IDC_CKFOCUS), 0);
    }
}
