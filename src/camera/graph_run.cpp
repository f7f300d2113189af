#include "camera/graph_run.h"

using namespace platform;

namespace {

constexpr int32_t kStateWaitMs = 2500;

// The camera filter's own answer to leaving Stopped; the filter is stopped again either way.
HResult CameraOwnAnswer(MediaControl control, Filter camera) {
    GraphStop(control);
    if (!camera)
        return kFail;
    const HResult answer = FilterPause(camera);
    FilterStop(camera);
    return Failed(answer) ? answer : kFail;
}

} // namespace

HResult RunCameraGraph(MediaControl control, Filter camera) {
    HResult result = GraphRun(control);
    if (result == kFalse) {
        int32_t state = 0;
        const HResult reached = GraphState(control, kStateWaitMs, &state);
        if (Failed(reached))
            result = reached;
    }
    if (result == kFail)
        result = CameraOwnAnswer(control, camera);
    return result;
}
