#include "properties/camera_property.h"

#include "panel/control_ids.h"

namespace {

using P = CameraProperty;
using S = CameraSettings;

const PropertyInfo kProperties[] = {
    {P::Brightness, procamp::Brightness, IDC_TBBRIGHT, IDC_CKBRIGHT, &S::Brightness,
     &S::FlagBrightness},
    {P::Contrast, procamp::Contrast, IDC_TBCONTRA, IDC_CKCONTRA, &S::Contrast, &S::FlagContrast},
    {P::Saturation, procamp::Saturation, IDC_TBSATURA, IDC_CKSATURA, &S::Saturation,
     &S::FlagSaturation},
    {P::Sharpness, procamp::Sharpness, IDC_TBSHARPN, IDC_CKSHARPN, &S::Sharpness,
     &S::FlagSharpness},
    {P::WhiteBalance, procamp::WhiteBalance, IDC_TBWHIBAL, IDC_CKWHIBAL, &S::WhiteBalance,
     &S::FlagWhiteBalance},
    {P::BacklightCompensation, procamp::BacklightCompensation, IDC_TBBACKCO, IDC_CKBACKCO,
     &S::BacklightCompensation, &S::FlagBacklightCompensation},
    {P::Gain, procamp::Gain, IDC_TBGAIN, IDC_CKGAIN, &S::Gain, &S::FlagGain},
    {P::Zoom, -1, IDC_TBZOOM, IDC_CKZOOM, &S::Zoom, &S::FlagZoom},
    {P::ExposureTime, -1, IDC_TBEXPTIM, IDC_CKEXPTIM, &S::ExposureTime, &S::FlagExposureTime},
    {P::FocusValue, -1, IDC_TBFOCUS, IDC_CKFOCUS, &S::FocusValue, &S::FlagFocusValue},
    {P::PowerScheme, procamp::PowerLineFrequency, 0, 0, &S::PowerScheme, nullptr},
    {P::LEDInfo, -1, 0, 0, &S::LEDInfo, nullptr},
};

} // namespace

const PropertyInfo& InfoOf(CameraProperty property) {
    return kProperties[static_cast<int>(property)];
}
