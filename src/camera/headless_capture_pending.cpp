// TEMPORARY: stands in for the headless capture until its branch is merged, so that the
// command-line program links. Drop this file at that merge.
#include "camera/headless_capture.h"

HeadlessCapture CaptureWithoutWindow(int, int32_t, int32_t, uint32_t, const char*) {
    return {HeadlessOutcome::GraphFailed, platform::kFail};
}

bool PreviewOpenElsewhere(int) {
    return false;
}
