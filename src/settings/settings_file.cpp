#include "settings/settings_file.h"

#include "app/shell_state.h"
#include "panel/panel_sync.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "properties/camera_records.h"
#include "settings/camera_settings.h"
#include "settings/stored_name.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kFileName = "\\Framewright.ini";
// Used when the current directory is too long for the full path to fit 260 characters: the
// profile functions resolve a path with a directory part against the current directory.
constexpr const char* kRelativePath = ".\\Framewright.ini";
constexpr const char* kDefaultImagePath = "C:\\W1X9Image.bmp";

char settingsPath[260];

struct IntOption {
    const char* key;
    int32_t* field;
    int32_t defaultValue;
};

IntOption Option(const char* key) {
    struct Entry {
        const char* key;
        int32_t GeneralSettings::*field;
        int32_t defaultValue;
    };
    static const Entry entries[] = {
        {"InternalDisplay", &GeneralSettings::InternalDisplay, 0},
        {"StartWithPreview", &GeneralSettings::StartWithPreview, 0},
        {"ExitOnCapture", &GeneralSettings::ExitOnCapture, 0},
        {"CaptureOnStart", &GeneralSettings::CaptureOnStart, 0},
        {"UsePrintKeyToCaptureImages", &GeneralSettings::UsePrintKeyToCaptureImages, 0},
        {"UseMinMaxOnPrintKey", &GeneralSettings::UseMinMaxOnPrintKey, 0},
        {"HideAppWhenInactive", &GeneralSettings::HideAppWhenInactive, 0},
        {"IncrementImageName", &GeneralSettings::IncrementImageName, 0},
        {"InitAndExit", &GeneralSettings::InitAndExit, 0},
        {"ImageCounter", &GeneralSettings::ImageCounter, 0},
        {"ReviewTimeMs", &GeneralSettings::ReviewTimeMs, 1500},
    };
    for (const Entry& e : entries)
        if (std::strcmp(e.key, key) == 0)
            return {e.key, &(General.*e.field), e.defaultValue};
    return {key, nullptr, 0};
}

// Reads options in the given order; a stored -1 (or a missing key) takes the default, which is
// written to the file at once.
void ReadOptions(std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        IntOption option = Option(key);
        *option.field = platform::ReadProfileInt(kGeneral, key, -1, settingsPath);
        if (*option.field == -1) {
            *option.field = option.defaultValue;
            WriteIntSetting(kGeneral, key, option.defaultValue, settingsPath);
        }
    }
}

// An empty "ImageSavePath" gets the default written to the file; the field keeps what was read.
void DefaultImageSavePath() {
    platform::ReadProfileString(kGeneral, "ImageSavePath", "", General.ImageSavePath, 255,
                                settingsPath);
    if (General.ImageSavePath[0] == '\0')
        platform::WriteProfileString(kGeneral, "ImageSavePath", kDefaultImagePath, settingsPath);
}

struct IntField {
    const char* key;
    int32_t CameraSettings::*field;
};
const IntField kNumbers[] = {
    {"LEDInfo", &CameraSettings::LEDInfo},
    {"PowerScheme", &CameraSettings::PowerScheme},
    {"Brightness", &CameraSettings::Brightness},
    {"Contrast", &CameraSettings::Contrast},
    {"Saturation", &CameraSettings::Saturation},
    {"Sharpness", &CameraSettings::Sharpness},
    {"WhiteBalance", &CameraSettings::WhiteBalance},
    {"BacklightCompensation", &CameraSettings::BacklightCompensation},
    {"Gain", &CameraSettings::Gain},
    {"Zoom", &CameraSettings::Zoom},
    {"ExposureTime", &CameraSettings::ExposureTime},
    {"FocusValue", &CameraSettings::FocusValue},
    {"Resolution", &CameraSettings::Resolution},
    {"ResolutionX", &CameraSettings::ResolutionX},
    {"ResolutionY", &CameraSettings::ResolutionY},
};

struct FlagField {
    const char* key;
    bool CameraSettings::*field;
};
const FlagField kFlags[] = {
    {"FlagBrightness", &CameraSettings::FlagBrightness},
    {"FlagContrast", &CameraSettings::FlagContrast},
    {"FlagSaturation", &CameraSettings::FlagSaturation},
    {"FlagSharpness", &CameraSettings::FlagSharpness},
    {"FlagWhiteBalance", &CameraSettings::FlagWhiteBalance},
    {"FlagBacklightCompensation", &CameraSettings::FlagBacklightCompensation},
    {"FlagGain", &CameraSettings::FlagGain},
    {"FlagZoom", &CameraSettings::FlagZoom},
    {"FlagExposureTime", &CameraSettings::FlagExposureTime},
    {"FlagFocusValue", &CameraSettings::FlagFocusValue},
    {"FlagAutomatic", &CameraSettings::FlagAutomatic},
};

void SectionName(int slot, char (&section)[16]) {
    std::snprintf(section, sizeof section, "Camera%d", slot);
}

int CamerasWithRecords() {
    return Shell.camerasFound < kMaxCameras ? Shell.camerasFound : kMaxCameras;
}

bool CameraSelected() {
    return RecordOf(Shell.selectedCamera) != nullptr;
}

} // namespace

const char* SettingsPath() {
    return settingsPath;
}

void ComputeSettingsPath() {
    char directory[260] = {};
    const uint32_t length = platform::CurrentDirectory(259, directory);
    const size_t nameLength = std::strlen(kFileName);
    if (length == 0 || length >= 259 || length + nameLength >= sizeof settingsPath) {
        std::strcpy(settingsPath, kRelativePath);
        return;
    }
    std::memcpy(settingsPath, directory, length);
    std::strcpy(settingsPath + length, kFileName);
}

bool SettingsFileExists(const char* path) {
    return platform::FileOpensForReading(path);
}

void WriteIntSetting(const char* section, const char* key, int32_t value, const char* path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    platform::WriteProfileString(section, key, text, path);
}

int LoadSettings() {
    ComputeSettingsPath();
    if (SettingsFileExists(settingsPath)) {
        DefaultImageSavePath();
        ReadOptions({"StartWithPreview", "ExitOnCapture", "CaptureOnStart",
                     "UsePrintKeyToCaptureImages", "UseMinMaxOnPrintKey", "ImageCounter",
                     "ReviewTimeMs", "HideAppWhenInactive"});
        if (platform::ReadProfileInt(kGeneral, "NumberOfCameras", -1, settingsPath) >
            Shell.camerasFound)
            return 1;
        // Without a camera there is no record to show: the panel stays as start-up left it.
        if (CameraSelected())
            RefreshControlRanges(Shell.selectedCamera);
        if (LoadCameraSections() != 0)
            return 1;
        if (CameraSelected())
            ShowCameraSettings();
        return 0;
    }
    for (int slot = 0; slot < CamerasWithRecords(); ++slot)
        ReadCameraSettings(slot);
    SaveSettings(settingsPath);
    DefaultImageSavePath();
    ReadOptions({"StartWithPreview", "InternalDisplay", "ExitOnCapture", "CaptureOnStart",
                 "UsePrintKeyToCaptureImages", "UseMinMaxOnPrintKey", "HideAppWhenInactive",
                 "ImageCounter", "ReviewTimeMs"});
    // The panel shows the values just read from the camera, as after any later start; left at
    // the fixed ranges with every slider at 0, the first slider movement would jump the camera
    // far from where it stands.
    if (CameraSelected()) {
        RefreshControlRanges(Shell.selectedCamera);
        ShowCameraSettings();
    }
    return 0;
}

int LoadCameraSections() {
    ComputeSettingsPath();
    if (!SettingsFileExists(settingsPath))
        return 0;
    for (int slot = 0; slot < CamerasWithRecords(); ++slot) {
        CameraSettings& record = CameraRecords[slot];
        char section[16];
        SectionName(slot, section);
        // Read with room for the longest stored form, so that it compares whole; the stored form
        // of the camera's name is what a file written for this camera reads back as.
        char name[kStoredNameReadSize] = {};
        platform::ReadProfileString(section, "Name", "", name, sizeof name, settingsPath);
        if (name[0] != '\0' && StoredNameAsRead(record.Name) != name)
            return -1;
        for (const IntField& f : kNumbers)
            record.*f.field = platform::ReadProfileInt(section, f.key, -1, settingsPath);
        if (record.Resolution == -1)
            record.Resolution = 0;
        if (record.ResolutionX == -1)
            record.ResolutionX = 1920;
        if (record.ResolutionY == -1)
            record.ResolutionY = 1080;
        for (const FlagField& f : kFlags)
            record.*f.field = platform::ReadProfileInt(section, f.key, -1, settingsPath) == 1;
    }
    ReadOptions({"InternalDisplay", "UsePrintKeyToCaptureImages", "UseMinMaxOnPrintKey",
                 "HideAppWhenInactive", "IncrementImageName", "InitAndExit", "ReviewTimeMs",
                 "ImageCounter"});
    return 0;
}

int SaveSettings(const char* path) {
    SettingsChanged = false;
    WriteIntSetting(kGeneral, "NumberOfCameras", Shell.camerasFound, path);
    for (int slot = 0; slot < CamerasWithRecords(); ++slot) {
        WriteIntSetting(kGeneral, "InternalDisplay", General.InternalDisplay, path);
        const CameraSettings& record = CameraRecords[slot];
        if (record.Name[0] == '\0')
            continue;
        char section[16];
        SectionName(slot, section);
        platform::WriteProfileString(section, "Name", StoredName(record.Name).c_str(), path);
        for (const IntField& f : kNumbers)
            WriteIntSetting(section, f.key, record.*f.field, path);
        for (const FlagField& f : kFlags)
            WriteIntSetting(section, f.key, record.*f.field == 1 ? 1 : 0, path);
    }
    return 0;
}
