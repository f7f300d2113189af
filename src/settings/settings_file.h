// The settings file "Framewright.ini" in the current directory: loading with defaults written
// back, the check of the stored camera configuration, and saving.
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

bool SettingsFileExists(const char* path);
LoadResult LoadSettings();
SectionsResult LoadCameraSections();
void SaveSettings(const char* path);
void WriteIntSetting(const char* section, const char* key, int32_t value, const char* path);
