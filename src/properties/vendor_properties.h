// The vendor's own property set on the capture filter: the capture LED, the exposure time as a
// plain time value, and the zoom. Property data are little-endian 32-bit words.
#pragma once

#include "platform/media.h"

#include <cstdint>

using platform::HResult;

// {CAAE4966-272C-44A9-B792-71953F89DB2B}
extern const platform::Guid kVendorPropertySet;

// LED modes, word 3 of the LED property.
constexpr int32_t kLedOff = 0;
constexpr int32_t kLedOn = 1;
constexpr int32_t kLedIdentify = 2;
constexpr int32_t kLedAutomatic = 3;

// The camera's LED mode into the slot's record, when it is off, on or automatic.
HResult GetLedMode(int slot);
// The camera's LED mode (word 3 of the LED property); mode is filled only when the read succeeds.
HResult ReadLedMode(int slot, int32_t* mode);
HResult SetLedOff(int slot);
HResult SetLedOn(int slot);
HResult SetLedAutomatic(int slot);
// The identification signal for 650 ms, then the LED mode of the record.
HResult IdentifyCamera(int slot);
HResult SetVendorExposure(int slot, int32_t value, int32_t mode);
// Fills value and mode also when the camera rejects the request (then both 0); filled tells
// whether the request reached the camera at all.
HResult GetVendorExposure(int slot, int32_t* value, int32_t* mode, bool* filled = nullptr);
HResult SetVendorZoom(int slot, int32_t value);
// The camera takes even zoom values only: an odd value is raised by one, except the largest
// 32-bit value, which has no even value above it and goes down to the one below.
int32_t EvenZoom(int32_t value);
HResult GetVendorZoom(int slot, int32_t* value);
