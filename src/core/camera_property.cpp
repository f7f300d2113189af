#include "core/camera_property.h"

#include "core/control_ids.h"

namespace {

using P = CameraProperty;
using S = CameraSettings;
using C = Carrier;
using B = BoxAction;

constexpr ValueWord kLedWords[] = {
    {"off", kLedCodeOff},
    {"on", kLedCodeOn},
    {"auto", kLedCodeAutomaticRead},   // the camera's own word for the mode, shown when read back
    {"auto", kLedCodeAutomaticChosen}, // what the panel's "Automatic" stores
    {nullptr, 0},
};
constexpr ValueWord kPowerLineWords[] = {
    {"off", kPowerLineOff},
    {"50", kPowerLine50Hz},
    {"60", kPowerLine60Hz},
    {nullptr, 0},
};

// clang-format off
constexpr PropertyRow kRows[kPropertyCount] = {
    {P::LEDInfo, "LEDInfo", nullptr, &S::LEDInfo, nullptr, C::VendorSet, VENDOR_PROPERTY_LED,
     0, 0, {}, {0, 0}, nullptr, B::None, nullptr, kPlain, kLedWords},
    {P::PowerScheme, "PowerScheme", nullptr, &S::PowerScheme, nullptr,
     C::VideoProcAmp, procamp::PowerLineFrequency,
     0, 0, {}, {0, 0}, nullptr, B::None, nullptr, kPlain, kPowerLineWords},
    {P::Brightness, "Brightness", "FlagBrightness", &S::Brightness, &S::FlagBrightness,
     C::VideoProcAmp, procamp::Brightness,
     IDC_TBBRIGHT, IDC_CKBRIGHT, {IDC_STBRIGHT}, {0, 255}, "Brightness Value: %d",
     B::Notice, "IDC_CKBRIGHT", kCameraModeToManual, nullptr},
    {P::Contrast, "Contrast", "FlagContrast", &S::Contrast, &S::FlagContrast,
     C::VideoProcAmp, procamp::Contrast,
     IDC_TBCONTRA, IDC_CKCONTRA, {IDC_STCONTRA}, {0, 255}, "Contrast Value: %d",
     B::Notice, "IDC_CKCONTRA", kPlain, nullptr},
    {P::Saturation, "Saturation", "FlagSaturation", &S::Saturation, &S::FlagSaturation,
     C::VideoProcAmp, procamp::Saturation,
     IDC_TBSATURA, IDC_CKSATURA, {IDC_STSATURA}, {0, 255}, "Saturation Value: %d",
     B::Notice, "IDC_CKSATURA", kPlain, nullptr},
    {P::Sharpness, "Sharpness", "FlagSharpness", &S::Sharpness, &S::FlagSharpness,
     C::VideoProcAmp, procamp::Sharpness,
     IDC_TBSHARPN, IDC_CKSHARPN, {IDC_STSHARPN}, {0, 255}, "Sharpness Value: %d",
     B::Notice, "IDC_CKSHARPN", kPlain, nullptr},
    {P::WhiteBalance, "WhiteBalance", "FlagWhiteBalance", &S::WhiteBalance, &S::FlagWhiteBalance,
     C::VideoProcAmp, procamp::WhiteBalance,
     IDC_TBWHIBAL, IDC_CKWHIBAL, {IDC_STWHIBAL}, {0, 10000}, "White Balance Value: %d",
     B::WhiteBalanceAutomatic, nullptr,
     kUnticksItsBox | kCameraModeToManual | kFixedRange | kAppliedWhenManual, nullptr},
    {P::BacklightCompensation, "BacklightCompensation", "FlagBacklightCompensation",
     &S::BacklightCompensation, &S::FlagBacklightCompensation,
     C::VideoProcAmp, procamp::BacklightCompensation,
     IDC_TBBACKCO, IDC_CKBACKCO, {IDC_STBACKCO, IDC_STCOMPEN}, {0, 1},
     "BackLight Compensation Value: %d", B::Notice, "IDC_CKBACKCO",
     kFixedRange | kAppliedWhenZeroOrOne, nullptr},
    {P::Gain, "Gain", "FlagGain", &S::Gain, &S::FlagGain, C::VideoProcAmp, procamp::Gain,
     IDC_TBGAIN, IDC_CKGAIN, {IDC_STGAIN}, {0, 255}, "Gain Value: %d",
     B::Notice, "IDC_CKGAIN", kPlain, nullptr},
    {P::Zoom, "Zoom", "FlagZoom", &S::Zoom, &S::FlagZoom, C::VendorSet, VENDOR_PROPERTY_ZOOM,
     IDC_TBZOOM, IDC_CKZOOM, {IDC_STZOOM}, {100, 400}, "Zoom Value: %d",
     B::Notice, "IDC_CKZOOM", kRaisedToEven, nullptr},
    {P::ExposureTime, "ExposureTime", "FlagExposureTime", &S::ExposureTime, &S::FlagExposureTime,
     C::VendorSet, VENDOR_PROPERTY_EXPOSURE,
     IDC_TBEXPTIM, IDC_CKEXPTIM,
     {IDC_STEXPTIM, IDC_STEXP512, IDC_STEXP64, IDC_STEXP32, IDC_STEXP16, IDC_STEXP5}, {3, 10000},
     "Exposure Time Value: %.4f seconds", B::ExposureAutomatic, "IDC_CKEXPTIM",
     kShownInSeconds | kUnticksItsBox | kCameraModeToManual, nullptr},
    {P::FocusValue, "FocusValue", "FlagFocusValue", &S::FocusValue, &S::FlagFocusValue,
     C::CameraControl, cameracontrol::Focus,
     IDC_TBFOCUS, IDC_CKFOCUS, {IDC_STFOCUS}, {0, 255}, "Focus Value: %d",
     B::FocusAutomatic, nullptr, kThumbToOneAbove255 | kUnticksItsBox, nullptr},
};
// clang-format on

// A row out of place would give one property another's keys, controls or camera writes.
constexpr bool RowsFollowTheEnumeration() {
    for (int i = 0; i < kPropertyCount; ++i)
        if (static_cast<int>(kRows[i].property) != i)
            return false;
    return true;
}
static_assert(RowsFollowTheEnumeration(), "the table's rows must follow CameraProperty's order");
static_assert(static_cast<int>(CameraProperty::FocusValue) + 1 == kPropertyCount,
              "every CameraProperty needs a row");

} // namespace

const ValueWord kCameraModeWords[] = {
    {"auto", kExposureAutomatic},
    {"manual", kExposureManual},
    {nullptr, 0},
};

const PropertyRow& RowOf(CameraProperty property) {
    return kRows[static_cast<int>(property)];
}

const PropertyRow* PropertyRows::begin() const {
    return kRows;
}

const PropertyRow* PropertyRows::end() const {
    return kRows + kPropertyCount;
}

const PropertyRow* RowOfCheckBox(int checkBox) {
    for (const PropertyRow& row : kRows)
        if (row.checkBox != 0 && row.checkBox == checkBox)
            return &row;
    return nullptr;
}
