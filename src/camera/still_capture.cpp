// Without a preview graph there is no frame to copy: the capture fails and writes nothing.
#include "camera/still_capture.h"

platform::HResult CaptureStill() {
    return platform::kFail;
}
