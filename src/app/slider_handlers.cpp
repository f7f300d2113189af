// A trackbar's notification writes its value to the status bar, the record and the camera at
// once, by the row of the property whose slider it is.
#include "app/handlers.h"
#include "app/selected_camera.h"
#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "panel/main_window.h"
#include "panel/status_text.h"
#include "platform/window_system.h"
#include "properties/property_write.h"
#include "properties/vendor_properties.h"

#include <cstdio>

using namespace platform;

namespace {

// The shortest exposure the slider gives, in units of 0.0001 s.
constexpr int32_t kShortestExposure = 3;

void CameraModeToManual() {
    SetCheck(ControlOf(IDC_RBMODAUT), 0);
    SetCheck(ControlOf(IDC_RBMODMAN), 1);
    SelectedRecord().FlagAutomatic = false;
}

// The value of the thumb's position. A position beyond the limit puts the thumb back (the value
// stays the position read); the zoom's value is even, the exposure's thumb never below 3.
int32_t ReadValue(Window trackbar, const PropertyRow& row) {
    const int32_t position = TrackbarPosition(trackbar);
    if (Has(row, kThumbToOneAbove255)) {
        if (position > 255)
            SetTrackbarPosition(trackbar, 1);
        return position;
    }
    if (position > row.range.maximum)
        SetTrackbarPosition(trackbar, row.range.maximum);
    if (Has(row, kShownInSeconds) && position < kShortestExposure)
        SetTrackbarPosition(trackbar, kShortestExposure);
    return Has(row, kRaisedToEven) ? EvenZoom(position) : position;
}

void ShowValue(const PropertyRow& row, int32_t value) {
    char text[64];
    if (Has(row, kShownInSeconds))
        // wsprintf has no floating-point conversion: the C library formats the seconds.
        std::snprintf(text, sizeof text, row.statusFormat,
                      static_cast<double>(static_cast<float>(value) * 0.0001f));
    else
        std::snprintf(text, sizeof text, row.statusFormat, value);
    SetStatusText(text);
}

const PropertyRow* RowOfTrackbar(Window trackbar) {
    for (const PropertyRow& row : AllProperties())
        if (row.slider != 0 && trackbar == ControlOf(row.slider))
            return &row;
    return nullptr;
}

} // namespace

void HandleSlider(Window trackbar) {
    SettingsChanged = true;
    if (!trackbar)
        return;
    const PropertyRow* row = RowOfTrackbar(trackbar);
    if (!row)
        return;
    const int32_t value = ReadValue(trackbar, *row);
    ShowValue(*row, value);
    SelectedRecord().*row->value = value;
    // Result ignored: the slider shows what the operator chose; a camera that refuses the value
    // keeps its own, and no notice is given for a slider move.
    WriteProperty(Shell.selectedCamera, *row, value);
    if (Has(*row, kUnticksItsBox))
        SetCheck(ControlOf(row->checkBox), 0);
    if (Has(*row, kCameraModeToManual))
        CameraModeToManual();
}
