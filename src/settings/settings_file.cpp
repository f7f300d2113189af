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
// written to the file at once. False when such a write failed.
bool ReadOptions(std::initializer_list<Option> fields, const char* path) {
    bool written = true;
    for (Option field : fields) {
        const OptionRow& option = RowOfOption(field);
        int32_t& value = General.*field;
        value = platform::ReadProfileInt(kGeneral, option.key, kNotStored, path);
        if (value == kNotStored) {
            value = option.defaultValue;
            written = WriteIntSetting(kGeneral, option.key, option.defaultValue, path) && written;
        }
    }
    return written;
}

// An empty "ImageSavePath" gets the default written to the file; the field keeps what was read.
// False when that write failed.
bool DefaultImageSavePath(const char* path) {
    platform::ReadProfileString(kGeneral, "ImageSavePath", "", General.ImageSavePath, 255, path);
    if (General.ImageSavePath[0] == '\0')
        return platform::WriteProfileString(kGeneral, "ImageSavePath", kDefaultImagePath, path);
    return true;
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

void ReadCameraSection(const char* section, CameraSettings& record, const char* path) {
    auto read = [&](const char* key) {
        return platform::ReadProfileInt(section, key, kNotStored, path);
    };
    for (const PropertyRow& row : AllProperties())
        record.*row.value = read(row.key);
    for (const StreamField& f : kStreamFields)
        record.*f.field = read(f.key);
    if (record.Resolution == kNotStored)
        record.Resolution = 0;
    if (record.ResolutionX == kNotStored)
        record.ResolutionX = kDefaultResolutionX;
    if (record.ResolutionY == kNotStored)
        record.ResolutionY = kDefaultResolutionY;
    for (const PropertyRow& row : AllProperties())
        if (row.flagKey)
            record.*row.flag = read(row.flagKey) == 1;
    record.FlagAutomatic = read(kCameraModeKey) == 1;
}

// False when a write failed; the others are still made.
bool WriteCameraSection(const char* section, const CameraSettings& record, const char* path) {
    bool written =
        platform::WriteProfileString(section, "Name", StoredName(record.Name).c_str(), path);
    for (const PropertyRow& row : AllProperties())
        written = WriteIntSetting(section, row.key, record.*row.value, path) && written;
    for (const StreamField& f : kStreamFields)
        written = WriteIntSetting(section, f.key, record.*f.field, path) && written;
    for (const PropertyRow& row : AllProperties())
        if (row.flagKey)
            written =
                WriteIntSetting(section, row.flagKey, record.*row.flag ? 1 : 0, path) && written;
    return WriteIntSetting(section, kCameraModeKey, record.FlagAutomatic ? 1 : 0, path) && written;
}

// The stored camera count above the cameras found: the file describes other cameras.
bool MoreCamerasStored(const char* path) {
    return platform::ReadProfileInt(kGeneral, "NumberOfCameras", kNotStored, path) >
           Shell.camerasFound;
}

// The slot's section into its record, after the check that a stored name is the camera's.
SectionsResult ReadOwnSection(int slot, const char* path) {
    CameraSettings& record = CameraRecords[slot];
    char section[16];
    SectionName(slot, section);
    // Read with room for the longest stored form, so that it compares whole; the stored form
    // of the camera's name is what a file written for this camera reads back as.
    char name[kStoredNameReadSize] = {};
    platform::ReadProfileString(section, "Name", "", name, sizeof name, path);
    if (name[0] != '\0' && StoredNameAsRead(record.Name) != name)
        return SectionsResult::OtherCamera;
    ReadCameraSection(section, record, path);
    return SectionsResult::Loaded;
}

// Each found camera's section into its record; stops at the first that is not the camera's (the
// records before it are read by then).
SectionsResult ReadCameraSections(const char* path) {
    for (int slot = 0; slot < CamerasWithRecords(); ++slot)
        if (ReadOwnSection(slot, path) != SectionsResult::Loaded)
            return SectionsResult::OtherCamera;
    return SectionsResult::Loaded;
}

// What a first start writes, where no file was: each camera read into its record, the records
// saved, and the options of "General" read with their defaults written where the file lacks them.
bool StoreCamerasAsFirstStart(const char* path) {
    using G = GeneralSettings;
    for (int slot = 0; slot < CamerasWithRecords(); ++slot)
        ReadCameraSettings(slot); // result ignored: a slot without a camera keeps its record
    bool written = SaveSettings(path);
    written = DefaultImageSavePath(path) && written;
    return ReadOptions({&G::StartWithPreview, &G::InternalDisplay, &G::ExitOnCapture,
                        &G::CaptureOnStart, &G::UsePrintKeyToCaptureImages, &G::UseMinMaxOnPrintKey,
                        &G::HideAppWhenInactive, &G::ImageCounter, &G::ReviewTimeMs},
                       path) &&
           written;
}

} // namespace

void SetSettingsLoadPanel(const SettingsLoadPanel& steps) {
    panel = steps;
}

bool SettingsFileExists(const char* path) {
    return platform::FileOpensForReading(path);
}

bool WriteIntSetting(const char* section, const char* key, int32_t value, const char* path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return platform::WriteProfileString(section, key, text, path);
}

LoadResult LoadSettings() {
    using G = GeneralSettings;
    ComputeSettingsPath();
    if (SettingsFileExists(SettingsPath())) {
        DefaultImageSavePath(SettingsPath());
        ReadOptions({&G::StartWithPreview, &G::ExitOnCapture, &G::CaptureOnStart,
                     &G::UsePrintKeyToCaptureImages, &G::UseMinMaxOnPrintKey, &G::ImageCounter,
                     &G::ReviewTimeMs, &G::HideAppWhenInactive},
                    SettingsPath());
        if (MoreCamerasStored(SettingsPath()))
            return LoadResult::OtherCameras;
        // The panel takes the camera's ranges before the sections are read and shows the
        // records after; without a camera it stays as start-up left it.
        RefreshPanel();
        if (LoadCameraSections() != SectionsResult::Loaded)
            return LoadResult::OtherCameras;
        ShowRecordOnPanel();
        return LoadResult::Loaded;
    }
    // Result ignored: a file that cannot be written leaves the tool running on its records.
    StoreCamerasAsFirstStart(SettingsPath());
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
    if (ReadCameraSections(SettingsPath()) != SectionsResult::Loaded)
        return SectionsResult::OtherCamera;
    ReadOptions({&G::InternalDisplay, &G::UsePrintKeyToCaptureImages, &G::UseMinMaxOnPrintKey,
                 &G::HideAppWhenInactive, &G::IncrementImageName, &G::InitAndExit, &G::ReviewTimeMs,
                 &G::ImageCounter},
                SettingsPath());
    return SectionsResult::Loaded;
}

StoredCameras ReadStoredCameras(const char* path) {
    if (!SettingsFileExists(path))
        return StoredCameras::NoFile;
    if (MoreCamerasStored(path) || ReadCameraSections(path) != SectionsResult::Loaded)
        return StoredCameras::OtherCameras;
    return StoredCameras::Loaded;
}

StoredCameras ReadStoredCamera(int slot, const char* path) {
    if (!SettingsFileExists(path))
        return StoredCameras::NoFile;
    return ReadOwnSection(slot, path) == SectionsResult::Loaded ? StoredCameras::Loaded
                                                                : StoredCameras::OtherCameras;
}

bool StoredStreamFormat(int slot, const char* path, int32_t* width, int32_t* height) {
    char section[16];
    SectionName(slot, section);
    int32_t CameraSettings::*const fields[] = {&CameraSettings::ResolutionX,
                                               &CameraSettings::ResolutionY};
    int32_t stored[2] = {};
    for (int i = 0; i < 2; ++i)
        for (const StreamField& f : kStreamFields)
            if (f.field == fields[i])
                stored[i] = platform::ReadProfileInt(section, f.key, kNotStored, path);
    if (stored[0] <= 0 || stored[1] <= 0)
        return false;
    *width = stored[0];
    *height = stored[1];
    return true;
}

bool SaveCurrentCameras(const char* path) {
    // The save writes "InternalDisplay" with the record's value: a file that holds the option
    // keeps its value, as the window program would have loaded it.
    const OptionRow& display = RowOfOption(&GeneralSettings::InternalDisplay);
    const int32_t stored = platform::ReadProfileInt(kGeneral, display.key, kNotStored, path);
    General.InternalDisplay = stored == kNotStored ? display.defaultValue : stored;
    return StoreCamerasAsFirstStart(path);
}

bool SaveSettings(const char* path) {
    SettingsChanged = false;
    bool written = WriteIntSetting(kGeneral, "NumberOfCameras", Shell.camerasFound, path);
    for (int slot = 0; slot < CamerasWithRecords(); ++slot) {
        written =
            WriteIntSetting(kGeneral, "InternalDisplay", General.InternalDisplay, path) && written;
        const CameraSettings& record = CameraRecords[slot];
        if (record.Name[0] == '\0')
            continue;
        char section[16];
        SectionName(slot, section);
        written = WriteCameraSection(section, record, path) && written;
    }
    return written;
}
