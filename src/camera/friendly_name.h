// The vendor test and the narrowing of a device's friendly name into a record's Name field.
#pragma once

#include <cstddef>
#include <string>

// True when the UTF-16 name contains "Parvanex", compared unit by unit (case-sensitive).
bool IsVendorCamera(const std::u16string& friendlyName);
// Keeps the low 8 bits of every UTF-16 unit; a name longer than size-1 units is cut to size-1.
void NarrowName(const std::u16string& friendlyName, char* name, size_t size);
