// Where "Framewright.ini" lives: computed from the current directory by each load, and read by
// everything that writes to the file afterwards (the panel's save, the capture's counter).
#pragma once

// The path computed by the last load (empty before the first).
const char* SettingsPath();
// Computes the path afresh from the current directory.
void ComputeSettingsPath();
