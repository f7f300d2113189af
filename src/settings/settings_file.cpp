#include "settings/settings_file.h"

#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "properties/camera_records.h"
#include "settings/stored_name.h"

#include <cstdio>

namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kDefaultImagePath = "C:\\W1X9Image.bmp";
// What the profile read gives for a key that is not there; a stored -1 counts the same.
constexpr int32_t kNotStored = -1;

SettingsLoadPanel panel;

// The numeric options of "General": each field's key and the default a stored -1 (or a missing
// key) gives. Looked up by member, so that a misspelt option cannot compile.
using Option = int32_t GeneralSettings::*;
struct OptionRow {
    Option field;
    const char* key;
    int32_t defaultValue;
};
constexpr OptionRow kOptions[] = {
    {&GeneralSettings::InternalDisplay, "InternalDisplay", 0},
    {&GeneralSettings::StartWithPreview, "StartWithPreview", 0},
    {&GeneralSettings::ExitOnCapture, "ExitOnCapture", 0},
    {&GeneralSettings::CaptureOnStart, "CaptureOnStart", 0},
    {&GeneralSettings::UsePrintKeyToCaptureImages, "UsePrintKeyToCaptureImages", 0},
    {&GeneralSettings::UseMinMaxOnPrintKey, "UseMinMaxOnPrintKey", 0},
    {&GeneralSettings::HideAppWhenInactive, "HideAppWhenInactive", 0},
    {&GeneralSettings::IncrementImageName, "IncrementImageName", 0},
    {&GeneralSettings::InitAndExit, "InitAndExit", 0},
    {&GeneralSettings::ImageCounter, "ImageCounter", 0},
    {&GeneralSettings::ReviewTimeMs, "ReviewTimeMs", 1500},
};

const OptionRow& RowOfOption(Option field) {
    for (const OptionRow& row : kOptions)
        if (row.field == field)
            return row;
    // Every numeric member of GeneralSettings has a row; reaching here is a programming error
    // that the settings tests show at once (the first row's key would be read instead).
    return kOptions[0];
}

// Reads options in the given order; a stored -1 (or a missing key) takes the default, which is
// written to the file at once.
void ReadOptions(std::initializer_list<Option> fields) {
    for (Option field : fields) {
        const OptionRow& option = RowOfOption(field);
        int32_t& value = General.*field;
        value = platform::ReadProfileInt(kGeneral, option.key, kNotStored, SettingsPath());
        if (value == kNotStored) {
            value = option.defaultValue;
            WriteIntSetting(kGeneral, option.key, option.defaultValue, SettingsPath());
        }
    }
}

// An empty "ImageSavePath" gets the default written to the file; the field keeps what was read.
void DefaultImageSavePath() {
    platform::ReadProfileString(kGeneral, "ImageSavePath", "", General.ImageSavePath, 255,
                                SettingsPath());
    if (General.ImageSavePath[0] == '\0')
        platform::WriteProfileString(kGeneral, "ImageSavePath", kDefaultImagePath, SettingsPath());
}

// A camera section's keys: the properties' values in table order, the stream format, the
// properties' automatic flags in table order, and the camera mode.
struct StreamField {
    const char* key;
    int32_t CameraSettings::*field;
};
constexpr StreamField kStreamFields[] = {
    {"Resolution", &CameraSettings::Resolution},
    {"ResolutionX", &CameraSettings::ResolutionX},
    {"ResolutionY", &CameraSettings::ResolutionY},
};
constexpr const char* kCameraModeKey = "FlagAutomatic";

void SectionName(int slot, char (&section)[16]) {
    std::snprintf(section, sizeof section, "Camera%d", slot);
}

int CamerasWithRecords() {
    return Shell.camerasFound < kMaxCameras ? Shell.camerasFound : kMaxCameras;
}

bool CameraSelected() {
    return RecordOf(Shell.selectedCamera) != nullptr;
}

void RefreshPanel() {
    if (CameraSelected() && panel.refreshRanges)
        panel.refreshRanges(Shell.selectedCamera);
}

void ShowRecordOnPanel() {
    if (CameraSelected() && panel.showRecord)
        panel.showRecord();
}

int32_t ReadInt(const char* section, const char* key) {
    return platform::ReadProfileInt(section, key, kNotStored, SettingsPath());
}

void ReadCameraSection(const char* section, CameraSettings& record) {
    for (const PropertyRow& row : AllProperties())
        record.*row.value = ReadInt(section, row.key);
    for (const StreamField& f : kStreamFields)
        record.*f.field = ReadInt(section, f.key);
    if (record.Resolution == kNotStored)
        record.Resolution = 0;
    if (record.ResolutionX == kNotStored)
        record.ResolutionX = 1920;
    if (record.ResolutionY == kNotStored)
        record.ResolutionY = 1080;
    for (const PropertyRow& row : AllProperties())
        if (row.flagKey)
            record.*row.flag = ReadInt(section, row.flagKey) == 1;
    record.FlagAutomatic = ReadInt(section, kCameraModeKey) == 1;
}

void WriteCameraSection(const char* section, const CameraSettings& record, const char* path) {
    platform::WriteProfileString(section, "Name", StoredName(record.Name).c_str(), path);
    for (const PropertyRow& row : AllProperties())
        WriteIntSetting(section, row.key, record.*row.value, path);
    for (const StreamField& f : kStreamFields)
        WriteIntSetting(section, f.key, record.*f.field, path);
    for (const PropertyRow& row : AllProperties())
        if (row.flagKey)
            WriteIntSetting(section, row.flagKey, record.*row.flag ? 1 : 0, path);
    WriteIntSetting(section, kCameraModeKey, record.FlagAutomatic ? 1 : 0, path);
}

} // namespace

void SetSettingsLoadPanel(const SettingsLoadPanel& steps) {
    panel = steps;
}

bool SettingsFileExists(const char* path) {
    return platform::FileOpensForReading(path);
}

void WriteIntSetting(const char* section, const char* key, int32_t value, const char* path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    platform::WriteProfileString(section, key, text, path);
}

LoadResult LoadSettings() {
    using G = GeneralSettings;
    ComputeSettingsPath();
    if (SettingsFileExists(SettingsPath())) {
        DefaultImageSavePath();
        ReadOptions({&G::StartWithPreview, &G::ExitOnCapture, &G::CaptureOnStart,
                     &G::UsePrintKeyToCaptureImages, &G::UseMinMaxOnPrintKey, &G::ImageCounter,
                     &G::ReviewTimeMs, &G::HideAppWhenInactive});
        if (platform::ReadProfileInt(kGeneral, "NumberOfCameras", kNotStored, SettingsPath()) >
            Shell.camerasFound)
            return LoadResult::OtherCameras;
        // The panel takes the camera's ranges before the sections are read and shows the
        // records after; without a camera it stays as start-up left it.
        RefreshPanel();
        if (LoadCameraSections() != SectionsResult::Loaded)
            return LoadResult::OtherCameras;
        ShowRecordOnPanel();
        return LoadResult::Loaded;
    }
    for (int slot = 0; slot < CamerasWithRecords(); ++slot)
        ReadCameraSettings(slot); // result ignored: a slot without a camera keeps its record
    SaveSettings(SettingsPath());
    DefaultImageSavePath();
    ReadOptions({&G::StartWithPreview, &G::InternalDisplay, &G::ExitOnCapture, &G::CaptureOnStart,
                 &G::UsePrintKeyToCaptureImages, &G::UseMinMaxOnPrintKey, &G::HideAppWhenInactive,
                 &G::ImageCounter, &G::ReviewTimeMs});
    // The panel shows the values just read from the camera, as after any later start; left at
    // the fixed ranges with every slider at 0, the first slider movement would jump the camera
    // far from where it stands.
    RefreshPanel();
    ShowRecordOnPanel();
    return LoadResult::Loaded;
}

SectionsResult LoadCameraSections() {
    using G = GeneralSettings;
    ComputeSettingsPath();
    if (!SettingsFileExists(SettingsPath()))
        return SectionsResult::Loaded;
    for (int slot = 0; slot < CamerasWithRecords(); ++slot) {
        CameraSettings& record = CameraRecords[slot];
        char section[16];
        SectionName(slot, section);
        // Read with room for the longest stored form, so that it compares whole; the stored form
        // of the camera's name is what a file written for this camera reads back as.
        char name[kStoredNameReadSize] = {};
        platform::ReadProfileString(section, "Name", "", name, sizeof name, SettingsPath());
        if (name[0] != '\0' && StoredNameAsRead(record.Name) != name)
            return SectionsResult::OtherCamera;
        ReadCameraSection(section, record);
    }
    ReadOptions({&G::InternalDisplay, &G::UsePrintKeyToCaptureImages, &G::UseMinMaxOnPrintKey,
                 &G::HideAppWhenInactive, &G::IncrementImageName, &G::InitAndExit, &G::ReviewTimeMs,
                 &G::ImageCounter});
    return SectionsResult::Loaded;
}

void SaveSettings(const char* path) {
    SettingsChanged = false;
    WriteIntSetting(kGeneral, "NumberOfCameras", Shell.camerasFound, path);
    for (int slot = 0; slot < CamerasWithRecords(); ++slot) {
        WriteIntSetting(kGeneral, "InternalDisplay", General.InternalDisplay, path);
        const CameraSettings& record = CameraRecords[slot];
        if (record.Name[0] == '\0')
            continue;
        char section[16];
        SectionName(slot, section);
        WriteCameraSection(section, record, path);
    }
}
