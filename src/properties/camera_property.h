// The adjustable properties of a camera, named after their record fields and settings keys, with
// the platform property, slider, automatic check box and flag that belong to each.
#pragma once

#include "settings/camera_settings.h"

#include <cstdint>

enum class CameraProperty {
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
    PowerScheme,
    LEDInfo,
};

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

// The flags word of a write: the same values for both interfaces.
constexpr int32_t kFlagsAuto = 1;
constexpr int32_t kFlagsManual = 2;

constexpr int32_t kExposureAutomatic = 1;
constexpr int32_t kExposureManual = 2;

struct PropertyInfo {
    CameraProperty property;
    int32_t platformProperty; // IAMVideoProcAmp property, or -1 where another path carries it
    int slider;               // trackbar identifier, 0 for none
    int checkBox;             // automatic check box identifier, 0 for none
    int32_t CameraSettings::*value;
    bool CameraSettings::*flag; // null for none
};

// The property's row; every CameraProperty has one.
const PropertyInfo& InfoOf(CameraProperty property);

// The seven picture properties that travel on IAMVideoProcAmp, in panel order.
constexpr CameraProperty kPictureProperties[] = {
    CameraProperty::Brightness, CameraProperty::Contrast,     CameraProperty::Saturation,
    CameraProperty::Sharpness,  CameraProperty::WhiteBalance, CameraProperty::BacklightCompensation,
    CameraProperty::Gain,
};
