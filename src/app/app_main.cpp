// Start-up: the window class, the screen's DPI, the font, the main window and its controls,
// discovery, the camera selection, the settings file and its check, the stored values applied, the
// unattended options armed, the Print-key hook; then the message loop.
#include "app/app_main.h"

#include "app/print_key_hook.h"
#include "app/window_procedure.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/dpi_scale.h"
#include "core/shell_state.h"
#include "core/window_program.h"
#include "panel/control_layout.h"
#include "panel/main_window.h"
#include "panel/panel_sync.h"
#include "panel/preview_button.h"
#include "panel/status_text.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/window_system.h"
#include "properties/camera_records.h"
#include "settings/settings_file.h"

using namespace platform;

namespace {

constexpr const char* kClassName = kWindowProgramClass;
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

// The panel's steps inside the preview and the settings load, which know nothing of windows.
void ConnectPanelSteps() {
    PreviewPanel preview;
    preview.showParameterControls = ShowParameterControls;
    preview.updatePreviewButton = UpdatePreviewButton;
    preview.minimiseAndRestore = MinimiseAndRestore;
    preview.videoBox = [] { return ControlOf(IDC_GBPARAMS); };
    preview.firstRunStarted = [] {
        if (General.CaptureOnStart == 1)
            StartTimer(Shell.mainWindow, IDT_CAPTURE, 100);
    };
    preview.cameraMissing = [] {
        ShowMessageBox(nullptr, "Camera could not be detected reconnect and restart",
                       "Bailing Out!", mb::Ok);
    };
    preview.showStatus = SetStatusText;
    SetPreviewPanel(preview);

    SettingsLoadPanel load;
    load.refreshRanges = RefreshControlRanges;
    load.showRecord = ShowCameraSettings;
    SetSettingsLoadPanel(load);
}

// The steps after the registration for device notices: load and check the settings, apply them,
// arm the unattended options and the hook.
void StartWithSettings(Window window) {
    RepaintNow(window);
    if (LoadSettings() == LoadResult::OtherCameras) {
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
        // Result ignored: the box has told the operator, and the tool runs on without the key.
        InstallPrintKeyHook(Shell.instance);
}

} // namespace

int AppMain(Instance instance) {
    Shell = ShellState();
    Shell.instance = instance;
    SettingsChanged = false;
    General = GeneralSettings();
    ConnectPanelSteps();
    InitializeCommonControls();
    RegisterWindowClass(instance, kClassName, MainWindowProcedure, 0x88, kIconResource);
    // The font, the window and its controls are made for the screen's DPI once: the process is
    // system-aware (res/framewright.manifest), so the DPI cannot change while it runs.
    Shell.dpi = ScreenDpi();
    Shell.controlFont = CreateControlFont("Times New Roman", ScaledToDpi(-13, Shell.dpi), 400);
    ClearCameraRecords();

    Window window =
        CreateWindowWith(style::ExWindowEdge, kClassName, "Orvisto Settings", 0x16CF0080,
                         kUseDefaultPosition, kUseDefaultPosition, ScaledToDpi(778, Shell.dpi),
                         ScaledToDpi(542, Shell.dpi), nullptr, 0, instance);
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
