// The settings file "Framewright.ini" in the current directory: loading with defaults written
// back, the check of the stored camera configuration, and saving.
#pragma once

#include <cstdint>

// The path computed by the last load (empty before the first).
const char* SettingsPath();
// Computes the path afresh from the current directory.
void ComputeSettingsPath();

bool SettingsFileExists(const char* path);
// 0 when the settings were loaded or created, 1 when the file describes other cameras.
int LoadSettings();
// 0, or -1 when a stored camera name differs from the camera found in its slot.
int LoadCameraSections();
int SaveSettings(const char* path);
void WriteIntSetting(const char* section, const char* key, int32_t value, const char* path);
