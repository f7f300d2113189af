// Start-up: the window class, the font, the main window and its controls, discovery, the camera
// selection, the settings file and its check, the stored values applied, the unattended options
// armed, the Print-key hook; then the message loop.
#include "app/app_main.h"

#include "app/print_key_hook.h"
#include "app/shell_state.h"
#include "app/window_procedure.h"
#include "camera/capture_filters.h"
#include "panel/control_ids.h"
#include "panel/control_layout.h"
#include "panel/panel_sync.h"
#include "panel/status_text.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"
#include "properties/camera_records.h"
#include "settings/camera_settings.h"
#include "settings/settings_file.h"

using namespace platform;

namespace {

constexpr const char* kClassName = "my_wnd_class_name_0";
constexpr int kIconResource = 101;

void LabelCameras() {
    for (int slot = 0; slot < kMaxCameras; ++slot)
        ShowWindowAs(ControlOf(CameraButtonOf(slot)), sw::Hide);
    if (Shell.camerasFound <= 0)
        return;
    EnableCameraControls();
    char label[300];
    for (int slot = 0; slot < Shell.camerasFound && slot < kMaxCameras; ++slot) {
        FormatCameraLabel(slot, label, sizeof label);
        Window button = ControlOf(CameraButtonOf(slot));
        SetText(button, label);
        ShowWindowAs(button, sw::ShowNormal);
    }
    SetCheck(ControlOf(IDC_RBCAM1), 1);
    Shell.selectedCamera = 0;
    FormatCameraLabel(0, label, sizeof label);
    SetStatusText(label);
}

void SetInitialChecks() {
    SetCheck(ControlOf(IDC_RBLEDAUT), 1);
    SetCheck(ControlOf(IDC_RBINTERN), 0);
    SetCheck(ControlOf(IDC_RBEXTERN), 1);
    SetCheck(ControlOf(IDC_RBMODAUT), 1);
    SetCheck(ControlOf(IDC_RB50HZ), 1);
}

// The steps after the registration for device notices: load and check the settings, apply them,
// arm the unattended options and the hook.
void StartWithSettings(Window window) {
    RepaintNow(window);
    if (LoadSettings() == 1) {
        ShowMessageBox(nullptr,
                       "Please restore the previous Camera Config or delete Framewright.ini File",
                       "Camera configuration changed", mb::Ok);
        EndProcess(0);
    }
    ShowWindowAs(window, sw::ShowNormal);
    RepaintNow(window);
    ApplyCameraSettings();
    if (General.StartWithPreview == 1)
        StartTimer(window, IDT_PREVIEW, 100);
    if (General.UsePrintKeyToCaptureImages == 1)
        InstallPrintKeyHook(Shell.instance);
}

} // namespace

int AppMain(Instance instance) {
    Shell = ShellState();
    Shell.instance = instance;
    SettingsChanged = false;
    General = GeneralSettings();
    InitializeCommonControls();
    RegisterWindowClass(instance, kClassName, MainWindowProcedure, 0x88, kIconResource);
    Shell.controlFont = CreateControlFont("Times New Roman", -13, 400);
    ClearCameraRecords();

    Window window =
        CreateWindowWith(style::ExWindowEdge, kClassName, "Orvisto Settings", 0x16CF0080,
                         kUseDefaultPosition, kUseDefaultPosition, 778, 542, nullptr, 0, instance);
    SetClassIcons(window, instance, kIconResource);
    Shell.camerasFound = DiscoverCameras();
    if (Shell.camerasFound <= 0) {
        DisableCameraControls();
        SetStatusText("No Parvanex Camera detected, please attach a Parvanex Webcam");
    }
    LabelCameras();
    SetStartupSliderRanges();
    SetInitialChecks();
    ShowWindowAs(window, sw::ShowNormal);
    // Without device notices the tool cannot follow the cameras: it neither loads nor applies the
    // settings, and waits for the operator to close it.
    if (RegisterUsbDeviceNotices(window))
        StartWithSettings(window);

    const int exitCode = RunMessageLoop();
    DeleteControlFont(Shell.controlFont);
    return exitCode;
}
