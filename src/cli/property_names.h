// The properties as the command line names them: the table's settings keys and the camera mode,
// in any letter case; their values as typed (numbers, the table's words, "auto") and as shown.
#pragma once

#include "core/camera_property.h"

#include <cstdint>
#include <string>

// A property named on the command line: a table row, or the camera mode (row null).
struct NamedProperty {
    const PropertyRow* row = nullptr;
    const char* Name() const { return row ? row->key : kCameraModeName; }
};

// A value to write: a number (a code for the coded properties and the camera mode) or the
// camera's automatic mode of a property whose check box switches it.
struct Assignment {
    NamedProperty property;
    bool automatic = false;
    int32_t value = 0;
};

// False for a name that is neither a key of the table nor the camera mode.
bool FindProperty(const std::string& name, NamedProperty* property);
// "PROPERTY=VALUE"; false, with what is wrong in problem, for a bad name or value.
bool ParseAssignment(const std::string& text, Assignment* assignment, std::string* problem);
// A value as a person reads it and set takes it back: a code's word, else the number.
std::string ShownValue(const NamedProperty& property, int32_t value);
// Whether the value is shown as a word (a JSON string) rather than a number.
bool ShownAsWord(const NamedProperty& property, int32_t value);
// Whole numbers: an optional sign and decimal digits only, within minimum and maximum.
bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t* value);
