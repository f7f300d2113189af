#include "properties/camera_filter.h"

#include "camera/capture_filters.h"

platform::Filter FilterOfSlot(int slot) {
    return slot >= 0 && slot < kMaxCameras ? CaptureFilters[slot] : nullptr;
}
