// The adjustable properties of a camera, one table row each: where the value lives in the record
// and in the settings file, which of the camera's interfaces carries it, its controls on the panel
// and the texts they show, and the rule that sets it apart where it has one. Whatever walks the
// properties (the slider and check-box messages, the panel refresh, the reads and writes of whole
// records, the settings keys) walks this table or looks a row up.
#pragma once

#include "core/camera_settings.h"

#include <cstdint>

// The rows' order is the order of the keys in a camera's section of the settings file, and of
// the sliders on the panel from top to bottom.
enum class CameraProperty {
    LEDInfo,
    PowerScheme,
    Brightness,
    Contrast,
    Saturation,
    Sharpness,
    WhiteBalance,
    BacklightCompensation,
    Gain,
    Zoom,
    ExposureTime,
    FocusValue,
};
constexpr int kPropertyCount = 12;

// Picture properties of IAMVideoProcAmp.
namespace procamp {
constexpr int32_t Brightness = 0;
constexpr int32_t Contrast = 1;
constexpr int32_t Saturation = 3;
constexpr int32_t Sharpness = 4;
constexpr int32_t WhiteBalance = 7;
constexpr int32_t BacklightCompensation = 8;
constexpr int32_t Gain = 9;
constexpr int32_t PowerLineFrequency = 13; // KSPROPERTY_VIDEOPROCAMP_POWERLINE_FREQUENCY
} // namespace procamp

// Camera controls of IAMCameraControl.
namespace cameracontrol {
constexpr int32_t Exposure = 4;
constexpr int32_t Focus = 6;
constexpr int32_t AutoExposurePriority = 19; // KSPROPERTY_CAMERACONTROL_AUTO_EXPOSURE_PRIORITY
} // namespace cameracontrol

// Properties of the vendor's own property set.
constexpr uint32_t VENDOR_PROPERTY_ZOOM = 3;     // 16 bytes: word 3 the zoom value
constexpr uint32_t VENDOR_PROPERTY_EXPOSURE = 5; // 16 bytes: word 0 the mode, word 3 the time
constexpr uint32_t VENDOR_PROPERTY_LED = 7;      // 20 bytes: word 3 the mode, word 4 the signal

// The flags word of a write: the same values for both standard interfaces.
constexpr int32_t kFlagsAuto = 1;
constexpr int32_t kFlagsManual = 2;

constexpr int32_t kExposureAutomatic = 1;
constexpr int32_t kExposureManual = 2;

enum class Carrier { VideoProcAmp, CameraControl, VendorSet };

// What sets a property apart from a plain picture property; a row may have several.
enum PropertyRule : uint32_t {
    kPlain = 0,
    kRaisedToEven = 1u << 0,        // zoom: the camera takes even values only
    kShownInSeconds = 1u << 1,      // exposure: at least 3 units of 0.0001 s, shown in seconds
    kThumbToOneAbove255 = 1u << 2,  // focus: no thumb limit, a position above 255 puts it at 1
    kUnticksItsBox = 1u << 3,       // a slider move turns the automatic box off
    kCameraModeToManual = 1u << 4,  // a slider move switches the camera mode to Manual
    kFixedRange = 1u << 5,          // the slider keeps its own range; the camera's is not shown
    kAppliedWhenManual = 1u << 6,   // a record is applied with it only while its box is off
    kAppliedWhenZeroOrOne = 1u << 7 // a record is applied with it only when it is 0 or 1
};

// What a click on the property's automatic check box does.
enum class BoxAction {
    None,                  // the property has no box
    Notice,                // an "Event" notice naming the box, nothing else
    WhiteBalanceAutomatic, // the camera's automatic white balance on or off
    ExposureAutomatic,     // the exposure mode automatic or manual (a notice when ticked)
    FocusAutomatic,        // automatic focus on or off
};

struct SliderRange {
    int32_t minimum;
    int32_t maximum;
};

// A word that stands for one code of a property whose values are codes (the power line's
// frequency, the LED's mode): what a person types and reads instead of the number.
struct ValueWord {
    const char* word;
    int32_t code;
};

struct PropertyRow {
    CameraProperty property;
    const char* key;     // the value's settings key
    const char* flagKey; // the automatic flag's settings key; null for none
    int32_t CameraSettings::*value;
    bool CameraSettings::*flag; // null for none
    Carrier carrier;
    uint32_t id;              // the property's identifier on its carrier
    int slider;               // trackbar identifier, 0 for none
    int checkBox;             // automatic check box identifier, 0 for none
    int labels[6];            // the labels that go with the slider, 0 where there is none
    SliderRange range;        // the slider's range at start-up; its maximum is the thumb's limit
    const char* statusFormat; // the status text of a slider move, with the value
    BoxAction boxAction;
    const char* boxName; // the box as the "Event" notice names it; null without a notice
    uint32_t rules;      // PropertyRule bits
    // The words of a coded value, ending with a null word; a code's first word is the one shown.
    // Null for a property whose value is a plain number.
    const ValueWord* words;
};

// The camera mode (exposure automatic or manual, with the frame-rate lock that goes with it) has no
// row: it spans the camera control's exposure and the vendor's exposure time. Where properties are
// named, it is named so; its words are those of the vendor's exposure mode word.
constexpr const char* kCameraModeName = "CameraMode";
extern const ValueWord kCameraModeWords[];

// The row of a property; every CameraProperty has one.
const PropertyRow& RowOf(CameraProperty property);
// The rows in table order, for range-for.
struct PropertyRows {
    const PropertyRow* begin() const;
    const PropertyRow* end() const;
};
constexpr PropertyRows AllProperties() {
    return {};
}
// The row whose check box has the identifier; null for none.
const PropertyRow* RowOfCheckBox(int checkBox);

constexpr bool Has(const PropertyRow& row, PropertyRule rule) {
    return (row.rules & rule) != 0;
}
// A picture property: carried by IAMVideoProcAmp and shown with a slider.
constexpr bool IsPictureProperty(const PropertyRow& row) {
    return row.carrier == Carrier::VideoProcAmp && row.slider != 0;
}
