// The settings records: one CameraSettings per camera slot, the GeneralSettings of the section
// "General", and the flag of unsaved panel changes. Every record lives as long as the process.
#pragma once

#include "platform/media.h"

#include <cstdint>

constexpr int kMaxCameras = 6;

// LEDInfo's codes in the record and the settings file. The panel's "Automatic" stores 2; a camera
// read back in automatic mode gives 3, the vendor's own word for the mode.
constexpr int32_t kLedCodeOff = 0;
constexpr int32_t kLedCodeOn = 1;
constexpr int32_t kLedCodeAutomaticChosen = 2;
constexpr int32_t kLedCodeAutomaticRead = 3;

// The FocusValue that stands for the camera's automatic focus.
constexpr int32_t kAutomaticFocus = -1;

// PowerScheme's codes: the power-line frequency the camera filters out.
constexpr int32_t kPowerLineOff = 0;
constexpr int32_t kPowerLine50Hz = 1;
constexpr int32_t kPowerLine60Hz = 2;

// The stream format asked of a camera whose record stores none.
constexpr int32_t kDefaultResolutionX = 1920;
constexpr int32_t kDefaultResolutionY = 1080;

struct CameraSettings {
    char Name[256]; // the friendly name, low 8 bits of each UTF-16 unit
    int32_t LEDInfo;
    int32_t PowerScheme;
    int32_t Brightness;
    int32_t Contrast;
    int32_t Saturation;
    int32_t Sharpness;
    int32_t WhiteBalance;
    int32_t BacklightCompensation;
    int32_t Gain;
    int32_t Zoom;
    int32_t ExposureTime; // units of 0.0001 s
    int32_t FocusValue;   // -1: automatic focus
    bool FlagBrightness;
    bool FlagContrast;
    bool FlagSaturation;
    bool FlagSharpness;
    bool FlagWhiteBalance;
    bool FlagBacklightCompensation;
    bool FlagGain;
    bool FlagZoom;
    bool FlagExposureTime;
    bool FlagFocusValue;
    bool FlagAutomatic;       // camera mode: automatic exposure
    platform::Filter* Device; // the slot's entry of CaptureFilters; null for an empty slot
    bool Previewing;
    int32_t Resolution;
    int32_t ResolutionX;
    int32_t ResolutionY;
};

struct GeneralSettings {
    int32_t InternalDisplay;
    char ImageSavePath[260];
    int32_t StartWithPreview;
    int32_t ExitOnCapture;
    int32_t CaptureOnStart;
    int32_t UsePrintKeyToCaptureImages;
    int32_t UseMinMaxOnPrintKey;
    int32_t HideAppWhenInactive;
    int32_t IncrementImageName;
    int32_t InitAndExit;
    int32_t ImageCounter;
    int32_t ReviewTimeMs;
};

extern CameraSettings CameraRecords[kMaxCameras];
extern GeneralSettings General;
extern bool SettingsChanged;

// Every record to zero: empty names, numbers 0, flags off, no device.
void ClearCameraRecords();
// The slot's record, or null for an index outside 0 to 5.
CameraSettings* RecordOf(int slot);
