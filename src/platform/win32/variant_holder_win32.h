// An automation value that is initialised on construction and cleared (its string or interface
// freed) however the scope ends.
#pragma once

#include "platform/win32/windows_headers_win32.h"

#include <oleauto.h>

namespace platform::win32 {

class HeldVariant {
  public:
    HeldVariant() { VariantInit(&value_); }
    HeldVariant(const HeldVariant&) = delete;
    HeldVariant& operator=(const HeldVariant&) = delete;
    ~HeldVariant() { VariantClear(&value_); }

    VARIANT* Get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

  private:
    VARIANT value_;
};

} // namespace platform::win32
