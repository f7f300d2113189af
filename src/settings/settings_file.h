// The settings file "Framewright.ini" in the current directory: loading with defaults written
// back, the check of the stored camera configuration, and saving. A program that must leave the
// file as it is reads the cameras' sections without the options and without a write.
#pragma once

#include <cstdint>

enum class LoadResult {
    Loaded,       // the settings were loaded, or the file was created from the cameras
    OtherCameras, // the file describes other cameras than those found
};

enum class SectionsResult {
    Loaded,
    OtherCamera, // a stored camera name differs from the camera found in its slot
};

// The panel's steps in the middle of a load: the selected camera's ranges before the camera
// sections are read, and the records shown after. The window program sets them at start-up; a
// program without a panel leaves them empty.
struct SettingsLoadPanel {
    void (*refreshRanges)(int slot) = nullptr;
    void (*showRecord)() = nullptr;
};
void SetSettingsLoadPanel(const SettingsLoadPanel& steps);

enum class StoredCameras {
    Loaded,
    NoFile,       // the file is not there or cannot be opened
    OtherCameras, // the file describes other cameras than those found
};

bool SettingsFileExists(const char* path);
LoadResult LoadSettings();
SectionsResult LoadCameraSections();
// The configuration check against the cameras found and every found camera's section into its
// record, as a start-up reads them, but nothing written and no option of "General" read.
StoredCameras ReadStoredCameras(const char* path);
// One found camera's section into its record, after the check that a stored name is the
// camera's: Loaded, NoFile, or OtherCameras for a section that names another camera (the record is
// then left as it was). No camera count is compared: the other cameras may come and go.
StoredCameras ReadStoredCamera(int slot, const char* path);
// The stream format stored in the slot's camera section; false when the section stores none (a
// missing key, or 0, which the preview takes as the default format).
bool StoredStreamFormat(int slot, const char* path, int32_t* width, int32_t* height);
// Every camera's current state into the file, as a first start stores it: the cameras read into
// their records, the records saved, and each option of "General" that the file lacks written with
// its default; the options it holds keep their values. False when a write failed.
bool SaveCurrentCameras(const char* path);
// The camera count and every named record's section; false when a write failed (the others are
// still made).
bool SaveSettings(const char* path);
bool WriteIntSetting(const char* section, const char* key, int32_t value, const char* path);
