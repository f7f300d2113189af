#include "panel/control_layout.h"

#include "core/camera_property.h"
#include "core/control_ids.h"
#include "core/dpi_scale.h"
#include "core/shell_state.h"
#include "panel/main_window.h"
#include "platform/window_system.h"

using K = ControlKind;

const ControlSpec kControls[kControlCount] = {
    {IDC_GBPREVPR, K::GroupBox, "Preview Properties", 8, 336, 120, 152},
    {IDC_RBINTERN, K::RadioFirst, "Intern", 16, 360, 50, 16},
    {IDC_RBEXTERN, K::Radio, "Extern", 68, 360, 58, 16},
    {IDC_GBCAPLED, K::GroupBox, "Capture LED", 8, 232, 120, 96},
    {IDC_RBLEDAUT, K::RadioFirst, "Automatic", 16, 256, 96, 16},
    {IDC_RBLEDON, K::Radio, "Const On", 16, 280, 96, 16},
    {IDC_RBLEDOFF, K::Radio, "Const Off", 16, 304, 96, 16},
    {IDC_GBPOWERS, K::GroupBox, "Powerscheme", 392, 440, 152, 48},
    {IDC_RB60HZ, K::RadioFirst, "60 Hz", 448, 464, 48, 16},
    {IDC_RB50HZ, K::Radio, "50 Hz", 400, 464, 48, 16},
    {IDC_RBPWROFF, K::Radio, "Off", 496, 464, 40, 16},
    {IDC_GBCAMSEL, K::GroupBox, "Camera Selection", 8, 8, 120, 216},
    {IDC_RBCAM1, K::RadioFirst, "Camera 1", 16, 32, 104, 16},
    {IDC_RBCAM2, K::Radio, "Camera 2", 16, 56, 104, 16},
    {IDC_RBCAM3, K::Radio, "Camera 3", 16, 80, 104, 16},
    {IDC_RBCAM4, K::Radio, "Camera 4", 16, 104, 104, 16},
    {IDC_RBCAM5, K::Radio, "Camera 5", 16, 128, 104, 16},
    {IDC_RBCAM6, K::Radio, "Camera 6", 16, 152, 104, 16},
    {IDC_GBCAMMOD, K::GroupBox, "Camera Mode", 136, 440, 136, 48},
    {IDC_RBMODAUT, K::RadioFirst, "Auto", 144, 464, 48, 16},
    {IDC_RBMODMAN, K::Radio, "Manual", 200, 464, 64, 16},
    {IDC_TBBRIGHT, K::Slider, "", 224, 24, 488, 32},
    {IDC_TBCONTRA, K::Slider, "", 224, 64, 488, 32},
    {IDC_TBSATURA, K::Slider, "", 224, 104, 488, 32},
    {IDC_TBSHARPN, K::Slider, "", 224, 144, 488, 32},
    {IDC_TBWHIBAL, K::Slider, "", 224, 184, 488, 32},
    {IDC_TBBACKCO, K::Slider, "", 224, 224, 488, 32},
    {IDC_TBGAIN, K::Slider, "", 224, 264, 488, 32},
    {IDC_TBZOOM, K::Slider, "", 224, 304, 488, 32},
    {IDC_TBEXPTIM, K::Slider, "", 224, 360, 488, 32},
    {IDC_TBFOCUS, K::Slider, "", 224, 400, 488, 32},
    {IDC_CKZOOM, K::CheckBox, "", 720, 296, 24, 32},
    {IDC_STFOCUS, K::Label, "Focus Value", 144, 400, 80, 24},
    {IDC_STEXP5, K::Label, "1/5", 552, 336, 24, 24},
    {IDC_STEXP16, K::Label, "1/16", 392, 336, 32, 24},
    {IDC_STEXP32, K::Label, "1/32", 352, 336, 32, 24},
    {IDC_STEXP64, K::Label, "1/64", 320, 336, 24, 24},
    {IDC_STEXP512, K::Label, "1/512", 240, 336, 32, 24},
    {IDC_GBPARAMS, K::GroupBox, "Parameters", 136, 8, 616, 432},
    {IDC_STAUTO, K::LabelTransparent, "Auto", 712, 8, 32, 16},
    {IDC_CKBRIGHT, K::CheckBox, "", 720, 24, 24, 24},
    {IDC_CKFOCUS, K::CheckBox, "", 720, 400, 24, 32},
    {IDC_CKEXPTIM, K::CheckBox, "", 720, 360, 24, 32},
    {IDC_CKGAIN, K::CheckBox, "", 720, 256, 24, 32},
    {IDC_CKBACKCO, K::CheckBox, "", 720, 216, 24, 32},
    {IDC_CKWHIBAL, K::CheckBox, "", 720, 176, 16, 32},
    {IDC_CKSHARPN, K::CheckBox, "", 720, 136, 16, 32},
    {IDC_CKSATURA, K::CheckBox, "", 720, 96, 16, 32},
    {IDC_CKCONTRA, K::CheckBox, "", 720, 56, 16, 32},
    {IDC_STBACKCO, K::Label, "Backlight", 144, 224, 56, 16},
    {IDC_STEXPTIM, K::Label, "Exposure Time", 144, 360, 80, 24},
    {IDC_STGAIN, K::Label, "Gain", 144, 272, 64, 24},
    {IDC_STCOMPEN, K::LabelTransparent, "Compensation", 144, 240, 80, 16},
    {IDC_STSHARPN, K::Label, "Sharpness", 144, 144, 64, 24},
    {IDC_BTRESET, K::PushButton, "Reset Default Values", 280, 448, 104, 40},
    {IDC_BTEXIT, K::PushButton, "Exit", 656, 448, 96, 40},
    {IDC_BTSAVE, K::PushButton, "Save Settings", 552, 448, 96, 40},
    {IDC_STBRIGHT, K::Label, "Brightness", 144, 32, 64, 16},
    {IDC_STCONTRA, K::Label, "Contrast", 144, 64, 64, 24},
    {IDC_STSATURA, K::Label, "Saturation", 144, 104, 64, 24},
    {IDC_STWHIBAL, K::Label, "White Balance", 144, 184, 80, 24},
    {IDC_STZOOM, K::Label, "Zoom", 144, 312, 64, 16},
    {IDC_SBSTATUS, K::StatusBar, "Status: Initializing ...", 0, 494, 770, 21},
    {IDC_BTIDENT, K::PushButton, "Identify", 16, 172, 104, 40},
    {IDC_BTPREVW, K::PushButton, "Preview", 16, 388, 104, 40},
    {IDC_BTCAPIMG, K::PushButton, "Capture Image", 16, 440, 104, 40},
};

namespace {

constexpr uint32_t kTransparent = 0x00000020; // WS_EX_TRANSPARENT

// Window class, style and extended style of each kind of control, in ControlKind's order.
struct KindFacts {
    ControlKind kind;
    const char* windowClass;
    uint32_t style;
    uint32_t exStyle;
};
constexpr KindFacts kKinds[] = {
    {K::GroupBox, "Button", 0x50020007, kTransparent},
    {K::RadioFirst, "Button", 0x50010009, 0},
    {K::Radio, "Button", 0x50000009, 0},
    {K::CheckBox, "Button", 0x50010003, 0},
    {K::PushButton, "Button", 0x50012F00, 0},
    {K::Label, "Static", 0x50000300, 0},
    {K::LabelTransparent, "Static", 0x50000300, kTransparent},
    {K::Slider, "msctls_trackbar32", 0x50010000, 0},
    {K::StatusBar, "msctls_statusbar32", 0x50000000, kTransparent},
};

constexpr bool KindsInOrder() {
    for (size_t i = 0; i < sizeof kKinds / sizeof kKinds[0]; ++i)
        if (static_cast<size_t>(kKinds[i].kind) != i)
            return false;
    return true;
}
static_assert(KindsInOrder(), "one row per ControlKind, in its order");

const KindFacts& FactsOf(ControlKind kind) {
    return kKinds[static_cast<size_t>(kind)];
}

} // namespace

const char* ClassOf(ControlKind kind) {
    return FactsOf(kind).windowClass;
}

uint32_t StyleOf(ControlKind kind) {
    return FactsOf(kind).style;
}

uint32_t ExStyleOf(ControlKind kind) {
    return FactsOf(kind).exStyle;
}

void CreateControls(platform::Window mainWindow) {
    const int dpi = Shell.dpi;
    for (const ControlSpec& c : kControls) {
        // x, y, width and height each scaled on its own (not the right and bottom edges), so
        // that at 96 DPI the rectangles are exactly the table's.
        platform::Window control = platform::CreateWindowWith(
            ExStyleOf(c.kind), ClassOf(c.kind), c.caption, StyleOf(c.kind), ScaledToDpi(c.x, dpi),
            ScaledToDpi(c.y, dpi), ScaledToDpi(c.width, dpi), ScaledToDpi(c.height, dpi),
            mainWindow, c.id, Shell.instance);
        platform::SetControlFont(control, Shell.controlFont);
    }
    if (platform::Icon icon = platform::LoadAppIcon(Shell.instance, 101))
        platform::SetSmallIcon(mainWindow, icon);
}

void SetStartupSliderRanges() {
    for (const PropertyRow& row : AllProperties())
        if (row.slider != 0)
            platform::SetTrackbarRange(
                ControlOf(row.slider),
                platform::PackedTrackbarRange(row.range.minimum, row.range.maximum));
}
