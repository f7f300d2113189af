// The camera behind one bound filter: answers the property requests of IAMVideoProcAmp,
// IAMCameraControl and the vendor property set from its configuration and the state file,
// refuses what the configuration says to refuse, fails everything once unplugged, and logs
// every request. Several filters may stand for the same camera; they share its state through
// the state file.
#pragma once

#include "camera_config.h"

#include <cstdint>
#include <vector>

namespace vcam {

class CameraDevice {
  public:
    explicit CameraDevice(int index);

    int Index() const { return config_.index; }
    const CameraConfig& Config() const { return config_; }
    // S_OK while plugged in, kDeviceGone after.
    HRESULT Presence() const;

    // where: Interface::ProcAmp or Interface::CameraControl.
    HRESULT Range(Interface where, long id, long* minimum, long* maximum, long* step,
                  long* defaultValue, long* caps) const;
    HRESULT Get(Interface where, long id, long* value, long* flags) const;
    HRESULT Set(Interface where, long id, long value, long flags);

    HRESULT VendorGet(DWORD id, void* data, DWORD size, DWORD* returned) const;
    HRESULT VendorSet(DWORD id, const void* data, DWORD size);
    HRESULT VendorSupport(DWORD id, DWORD* support) const;

    // The current brightness for the test pattern, without a log line.
    long Brightness() const;

  private:
    const Property* Find(Interface where, long id) const;
    // The current value and flags (state file first, configuration second).
    void Current(Interface where, long id, const Property& p, long* value, long* flags) const;
    std::vector<int32_t> VendorWords(DWORD id) const;

    CameraConfig config_;
};

// The byte size of each vendor property, 0 for ids the set does not have.
DWORD VendorPropertySize(DWORD id);

} // namespace vcam
