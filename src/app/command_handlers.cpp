// The command table: buttons, radio buttons and automatic check boxes of the panel.
#include "app/handlers.h"
#include "app/selected_camera.h"
#include "app/window_procedure.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "panel/main_window.h"
#include "panel/panel_sync.h"
#include "panel/preview_button.h"
#include "panel/status_text.h"
#include "platform/constants.h"
#include "platform/window_system.h"
#include "properties/camera_records.h"
#include "properties/exposure_mode.h"
#include "properties/property_write.h"
#include "properties/standard_properties.h"
#include "properties/vendor_properties.h"
#include "settings/settings_file.h"

#include <cstdio>

using namespace platform;

// The panel's writes to the camera do not look at their results: the panel shows what the
// operator chose and the record keeps it; a camera that refuses keeps its own value without a
// notice, and the next apply or move tries again.

namespace {

bool IsCheckedNow(int id) {
    return IsChecked(Shell.mainWindow, id) == 1;
}

// The "Event" notice of an automatic check box, worded after the check state after the click.
void ShowCheckboxMessage(const char* name, bool checked) {
    char text[96];
    std::snprintf(text, sizeof text, "the checkbox %s is %s.", name,
                  checked ? "checked" : "unchecked");
    ShowMessageBox(Shell.mainWindow, text, "Event", mb::IconInformation);
}

void SwitchCamera(int slot) {
    ClosePreview();
    UpdatePreviewButton();
    ShowParameterControls(sw::ShowNormal);
    DiscoverCameras(); // binds the devices anew; the count found stays as it was
    MinimiseAndRestore();
    char label[300];
    FormatCameraLabel(slot, label, sizeof label);
    SetStatusText(label);
    Shell.selectedCamera = slot;
    if (slot == 0)
        ReadCameraSettings(0);
}

// White balance and focus: the flag in the record, and the camera's automatic mode on, or the
// record's value back in manual mode.
void AutomaticChecked(const PropertyRow& row, bool checked) {
    CameraSettings& record = SelectedRecord();
    record.*row.flag = checked;
    if (checked)
        WritePropertyAutomatic(Shell.selectedCamera, row);
    else
        WriteProperty(Shell.selectedCamera, row, record.*row.value);
}

void ExposureChecked(const PropertyRow& row, bool checked) {
    const int slot = Shell.selectedCamera;
    const int32_t time = SelectedRecord().ExposureTime;
    if (checked) {
        ShowCheckboxMessage(row.boxName, true);
        SetVendorExposure(slot, time, kExposureAutomatic);
        SetExposureMode(slot, kExposureAutomatic);
    } else {
        SetExposureMode(slot, kExposureManual);
        SetVendorExposure(slot, time, kExposureManual);
    }
}

// A property's automatic check box, by what its row says the box does.
void AutomaticBoxClicked(const PropertyRow& row, bool checked) {
    switch (row.boxAction) {
    case BoxAction::Notice:
        ShowCheckboxMessage(row.boxName, checked);
        return;
    case BoxAction::WhiteBalanceAutomatic:
    case BoxAction::FocusAutomatic:
        AutomaticChecked(row, checked);
        return;
    case BoxAction::ExposureAutomatic:
        ExposureChecked(row, checked);
        return;
    case BoxAction::None:
        return;
    }
}

// The camera mode's radio buttons: the mode to the camera and the record, then the whole record
// applied; automatic exposure first shows the camera's ranges again.
void CameraModeChosen(int slot, bool automatic) {
    SetExposureMode(slot, automatic ? kExposureAutomatic : kExposureManual);
    SelectedRecord().FlagAutomatic = automatic;
    if (automatic)
        RefreshControlRanges(slot);
    ApplyCameraSettings();
}

void PowerLine(int id, int32_t value) {
    if (!IsCheckedNow(id))
        return;
    SetPowerLineFrequency(Shell.selectedCamera, value, kFlagsManual);
    SelectedRecord().PowerScheme = value;
}

void Led(int id, HResult (*write)(int), int32_t code) {
    if (!IsCheckedNow(id))
        return;
    write(Shell.selectedCamera);
    SelectedRecord().LEDInfo = code;
}

} // namespace

void HandleCommand(int id) {
    const int slot = Shell.selectedCamera;
    if (const PropertyRow* row = RowOfCheckBox(id)) {
        SettingsChanged = true;
        AutomaticBoxClicked(*row, IsCheckedNow(id));
        return;
    }
    switch (id) {
    case IDC_BTPREVW:
        TogglePreview(slot);
        return;
    case IDC_BTIDENT:
        IdentifyCamera(slot);
        return;
    case IDC_BTSAVE:
        SettingsChanged = false;
        SaveSettings(SettingsPath());
        return;
    case IDC_BTEXIT:
        CloseSequence(false);
        return;
    case IDC_BTRESET:
        LoadDefaultSettings(slot);
        ShowCameraSettings();
        return;
    case IDC_BTCAPIMG:
        CaptureImage();
        return;
    case IDC_RBMODMAN:
    case IDC_RBMODAUT:
        SettingsChanged = true;
        if (IsCheckedNow(id))
            CameraModeChosen(slot, id == IDC_RBMODAUT);
        return;
    case IDC_RBPWROFF:
        SettingsChanged = true;
        PowerLine(id, kPowerLineOff);
        return;
    case IDC_RB50HZ:
        SettingsChanged = true;
        PowerLine(id, kPowerLine50Hz);
        return;
    case IDC_RB60HZ:
        SettingsChanged = true;
        PowerLine(id, kPowerLine60Hz);
        return;
    case IDC_RBLEDOFF:
        SettingsChanged = true;
        Led(id, SetLedOff, kLedCodeOff);
        return;
    case IDC_RBLEDAUT:
        SettingsChanged = true;
        Led(id, SetLedAutomatic, kLedCodeAutomaticChosen);
        return;
    case IDC_RBLEDON:
        SettingsChanged = true;
        Led(id, SetLedOn, kLedCodeOn);
        return;
    case IDC_RBEXTERN:
        SettingsChanged = true;
        General.InternalDisplay = 0;
        PlacePreview(false);
        return;
    case IDC_RBINTERN:
        SettingsChanged = true;
        General.InternalDisplay = 1;
        PlacePreview(true);
        return;
    case IDC_RBCAM1:
    case IDC_RBCAM2:
    case IDC_RBCAM3:
    case IDC_RBCAM4:
    case IDC_RBCAM5:
    case IDC_RBCAM6:
        if (IsCheckedNow(id))
            SwitchCamera(IDC_RBCAM1 - id);
        return;
    default: // labels, group boxes, trackbars
        return;
    }
}
