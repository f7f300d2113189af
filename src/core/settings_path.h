// Where "Framewright.ini" lives: computed from the current directory by each load, and read by
// everything that writes to the file afterwards (the panel's save, the capture's counter). A
// program told which file to use takes that path instead.
#pragma once

// The path computed by the last load (empty before the first).
const char* SettingsPath();
// Computes the path afresh from the current directory.
void ComputeSettingsPath();
// Takes the settings file the caller names instead of the computed one. A name without any "\" or
// "/" is taken in the current directory (".\" before it): the profile functions would look for it
// in the Windows folder. False, with the path left as it was, for an empty name or one that does
// not fit the file functions' 260 characters.
bool UseSettingsPath(const char* name);
