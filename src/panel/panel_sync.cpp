#include "panel/panel_sync.h"

#include "camera/capture_filters.h"
#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "panel/main_window.h"
#include "panel/status_text.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"
#include "properties/camera_records.h"
#include "properties/exposure_mode.h"
#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"
#include "settings/settings_file.h"

#include <cstdio>

namespace {

using platform::PropertyRange;

constexpr int kParameterControls[] = {
    IDC_STBRIGHT, IDC_STCONTRA, IDC_STSATURA, IDC_STSHARPN, IDC_STWHIBAL, IDC_STCOMPEN,
    IDC_STBACKCO, IDC_STGAIN,   IDC_STEXPTIM, IDC_STZOOM,   IDC_STFOCUS,  IDC_STAUTO,
    IDC_STEXP512, IDC_STEXP5,   IDC_STEXP32,  IDC_STEXP64,  IDC_STEXP16,  IDC_TBBRIGHT,
    IDC_TBCONTRA, IDC_TBSATURA, IDC_TBSHARPN, IDC_TBWHIBAL, IDC_TBBACKCO, IDC_TBGAIN,
    IDC_TBZOOM,   IDC_TBEXPTIM, IDC_TBFOCUS,  IDC_CKBRIGHT, IDC_CKCONTRA, IDC_CKZOOM,
    IDC_CKSATURA, IDC_CKSHARPN, IDC_CKWHIBAL, IDC_CKBACKCO, IDC_CKGAIN,   IDC_CKEXPTIM,
    IDC_CKFOCUS,
};

constexpr int kCameraControlsBeforeParameters[] = {
    IDC_BTIDENT,  IDC_RBLEDON,  IDC_RBLEDOFF, IDC_RBLEDAUT, IDC_BTPREVW,  IDC_RBINTERN,
    IDC_RBEXTERN, IDC_BTRESET,  IDC_BTSAVE,   IDC_RB50HZ,   IDC_RB60HZ,   IDC_RBPWROFF,
    IDC_RBMODMAN, IDC_RBMODAUT, IDC_BTCAPIMG, IDC_GBCAMSEL, IDC_GBCAPLED, IDC_GBPREVPR,
    IDC_GBCAMMOD, IDC_GBPOWERS, IDC_GBPARAMS,
};

void Check(int id, bool checked) {
    platform::SetCheck(ControlOf(id), checked ? 1 : 0);
}

void EnableAndCheck(int id, bool on) {
    platform::EnableControl(ControlOf(id), on);
    Check(id, on);
}

// A slider and its check box from a range query. A failed query leaves the slider's range and
// position as they were and turns the check box off, so nothing shows another property's values.
// A row with a fixed range keeps it, with the camera's default as the position.
void ShowRange(const PropertyRow& row, platform::HResult result, const PropertyRange& range) {
    if (result != platform::kOk) {
        EnableAndCheck(row.checkBox, false);
        return;
    }
    platform::SetTrackbarRange(
        ControlOf(row.slider),
        Has(row, kFixedRange) ? platform::PackedTrackbarRange(row.range.minimum, row.range.maximum)
                              : platform::PackedTrackbarRange(range.minimum, range.maximum));
    platform::SetTrackbarPosition(ControlOf(row.slider), range.defaultValue);
    EnableAndCheck(row.checkBox, (range.capabilities & kFlagsAuto) != 0);
}

void ForEachCameraControl(bool enable) {
    for (int id : kCameraControlsBeforeParameters)
        platform::EnableControl(ControlOf(id), enable);
    for (int id : kParameterControls)
        platform::EnableControl(ControlOf(id), enable);
}

void LabelCameraButton(int slot) {
    char label[300];
    FormatCameraLabel(slot, label, sizeof label);
    platform::Window button = ControlOf(CameraButtonOf(slot));
    platform::SetText(button, label);
    platform::ShowWindowAs(button, platform::sw::ShowNormal);
}

} // namespace

void RefreshControlRanges(int slot) {
    // Top to bottom: the picture properties from their range queries, then zoom, exposure, focus.
    PropertyRange range;
    for (const PropertyRow& row : AllProperties())
        if (IsPictureProperty(row))
            ShowRange(row, GetVideoProcAmpRange(slot, static_cast<int32_t>(row.id), &range), range);

    // The zoom has no range query: the fixed range, the widest view, and no automatic zoom.
    const PropertyRow& zoom = RowOf(CameraProperty::Zoom);
    platform::SetTrackbarRange(ControlOf(zoom.slider), platform::PackedTrackbarRange(
                                                           zoom.range.minimum, zoom.range.maximum));
    platform::SetTrackbarPosition(ControlOf(zoom.slider), zoom.range.minimum);
    EnableAndCheck(zoom.checkBox, false);

    const PropertyRow& exposureRow = RowOf(CameraProperty::ExposureTime);
    int32_t exposure = 0, mode = 0;
    if (GetVendorExposure(slot, &exposure, &mode) == platform::kOk) {
        platform::SetTrackbarRange(
            ControlOf(exposureRow.slider),
            platform::PackedTrackbarRange(exposureRow.range.minimum, exposureRow.range.maximum));
        platform::SetTrackbarPosition(ControlOf(exposureRow.slider), exposure);
        EnableAndCheck(exposureRow.checkBox, (mode & kExposureAutomatic) != 0);
    } else {
        EnableAndCheck(exposureRow.checkBox, false);
    }

    const PropertyRow& focus = RowOf(CameraProperty::FocusValue);
    ShowRange(focus, GetCameraControlRange(slot, static_cast<int32_t>(focus.id), &range), range);
}

void ShowCameraSettings() {
    const CameraSettings* record = RecordOf(Shell.selectedCamera);
    if (!record)
        return;
    switch (record->LEDInfo) {
    case kLedCodeOff:
    case kLedCodeOn:
    case kLedCodeAutomaticRead:
        Check(IDC_RBLEDOFF, record->LEDInfo == kLedCodeOff);
        Check(IDC_RBLEDON, record->LEDInfo == kLedCodeOn);
        Check(IDC_RBLEDAUT, record->LEDInfo == kLedCodeAutomaticRead);
        break;
    default: // the panel's own automatic code and unknown codes leave the buttons as they are
        break;
    }
    if (record->PowerScheme >= kPowerLineOff && record->PowerScheme <= kPowerLine60Hz) {
        Check(IDC_RBPWROFF, record->PowerScheme == kPowerLineOff);
        Check(IDC_RB50HZ, record->PowerScheme == kPowerLine50Hz);
        Check(IDC_RB60HZ, record->PowerScheme == kPowerLine60Hz);
    }
    Check(IDC_RBINTERN, General.InternalDisplay != 0);
    Check(IDC_RBEXTERN, General.InternalDisplay == 0);
    Check(IDC_RBMODAUT, record->FlagAutomatic);
    Check(IDC_RBMODMAN, !record->FlagAutomatic);
    for (const PropertyRow& row : AllProperties())
        if (row.checkBox != 0)
            Check(row.checkBox, record->*row.flag);
    Check(IDC_RBMODAUT, record->FlagAutomatic);
    for (const PropertyRow& row : AllProperties())
        if (row.slider != 0)
            platform::SetTrackbarPosition(ControlOf(row.slider), record->*row.value);
}

void LoadDefaultSettings(int slot) {
    CameraSettings* record = RecordOf(slot);
    if (!record)
        return;
    record->LEDInfo = kLedCodeAutomaticChosen;
    record->Resolution = 0;
    PropertyRange range;
    const PropertyRow& power = RowOf(CameraProperty::PowerScheme);
    if (GetVideoProcAmpRange(slot, static_cast<int32_t>(power.id), &range) == platform::kOk)
        record->*power.value = range.defaultValue;
    for (const PropertyRow& row : AllProperties()) {
        if (IsPictureProperty(row) &&
            GetVideoProcAmpRange(slot, static_cast<int32_t>(row.id), &range) == platform::kOk) {
            record->*row.value = range.defaultValue;
            record->*row.flag = (range.capabilities & kFlagsAuto) != 0;
        }
    }
    record->Zoom = 100;
    record->FlagZoom = false; // the zoom cannot be automatic
    SetExposureMode(Shell.selectedCamera, kExposureAutomatic);
    int32_t exposure = 0, mode = 0;
    if (GetVendorExposure(slot, &exposure, &mode) == platform::kOk)
        record->ExposureTime = exposure;
    if (mode & 1) {
        EnableAndCheck(IDC_CKEXPTIM, true);
        record->FlagExposureTime = true;
        if (mode & 2) {
            record->FlagAutomatic = false;
        } else {
            Check(IDC_RBMODAUT, true);
            Check(IDC_RBMODMAN, false);
            record->FlagAutomatic = true;
        }
    } else {
        EnableAndCheck(IDC_CKEXPTIM, false);
        record->FlagExposureTime = false;
        Check(IDC_RBMODAUT, false);
        Check(IDC_RBMODMAN, true);
    }
    if (GetCameraControlRange(slot, cameracontrol::Focus, &range) == platform::kOk) {
        record->FocusValue = range.defaultValue;
        record->FlagFocusValue = (range.capabilities & 1) != 0;
    }
    ApplyCameraSettings();
}

void ShowParameterControls(int command) {
    for (int id : kParameterControls)
        platform::ShowWindowAs(ControlOf(id), command);
}

void DisableCameraControls() {
    ForEachCameraControl(false);
}

void EnableCameraControls() {
    ForEachCameraControl(true);
}

void RescanCameras(bool removal) {
    // The check marks go with the buttons: the rescan selects camera 1, and a button left checked
    // from an earlier selection would claim the selection again once an arrival shows it.
    for (int slot = 0; slot < kMaxCameras; ++slot) {
        platform::ShowWindowAs(ControlOf(CameraButtonOf(slot)), platform::sw::Hide);
        Check(CameraButtonOf(slot), false);
    }
    SetStatusText("Please Wait while scanning Cameras");
    ClearCameraRecords();
    for (int percent = 0; percent <= 100; ++percent) {
        char text[64];
        std::snprintf(text, sizeof text, "Please Wait while scanning Cameras: %d %% finished",
                      percent);
        SetStatusText(text);
        platform::SleepFor(removal ? 10 : 30);
    }
    Shell.camerasFound = DiscoverCameras();
    if (Shell.camerasFound <= 0) {
        // No record is left to show or to change: nothing is selected until a camera arrives.
        Shell.selectedCamera = -1;
        DisableCameraControls();
        SetStatusText("No Parvanex Camera detected, please attach a Parvanex Webcam");
        return;
    }
    EnableCameraControls();
    LabelCameraButton(0);
    Check(IDC_RBCAM1, true);
    Shell.selectedCamera = 0;
    LoadSettings();
    RefreshControlRanges(0);
    char label[300];
    FormatCameraLabel(0, label, sizeof label);
    SetStatusText(label);
    for (int slot = 1; slot < Shell.camerasFound && slot < kMaxCameras; ++slot) {
        LabelCameraButton(slot);
        FormatCameraLabel(slot, label, sizeof label);
        SetStatusText(label);
    }
}
