// IAMCameraControl of the filter. Its methods have the same signatures as IAMVideoProcAmp's, so
// one C++ class cannot implement both: this sub-object lives inside the filter and hands its
// identity and reference count to it.
#pragma once

#include "vcam_headers.h"

namespace vcam {

class VcamFilter;

class CameraControl final : public IAMCameraControl {
  public:
    explicit CameraControl(VcamFilter& owner) : owner_(owner) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetRange(LONG id, LONG* minimum, LONG* maximum, LONG* step, LONG* defaultValue,
                          LONG* caps) override;
    STDMETHODIMP Set(LONG id, LONG value, LONG flags) override;
    STDMETHODIMP Get(LONG id, LONG* value, LONG* flags) override;

  private:
    VcamFilter& owner_;
};

} // namespace vcam
