// The main window's child controls: identifier, kind, caption and rectangle of each (in pixels at
// 96 DPI), in creation order, and the slider ranges given at start-up.
#pragma once

#include "platform/types.h"

#include <cstdint>

enum class ControlKind {
    GroupBox,
    RadioFirst,
    Radio,
    CheckBox,
    PushButton,
    Label,
    LabelTransparent,
    Slider,
    StatusBar
};

struct ControlSpec {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height; // at 96 DPI, the main window's client coordinates
};

constexpr int kControlCount = 66;
// The controls in creation order, which is also their sibling order and forms the radio groups.
extern const ControlSpec kControls[kControlCount];

const char* ClassOf(ControlKind kind);
uint32_t StyleOf(ControlKind kind);
uint32_t ExStyleOf(ControlKind kind);

// Creates every control with the control font, each rectangle scaled to the screen's DPI
// (Shell.dpi), then gives the window its small icon.
void CreateControls(platform::Window mainWindow);
// The ranges of the ten sliders before the settings are loaded.
void SetStartupSliderRanges();
