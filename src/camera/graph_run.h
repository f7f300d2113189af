// Running a camera's graph and knowing whether it runs.
#pragma once

#include "platform/media_graph.h"

// Runs the graph. A graph that answers S_FALSE (still getting there) is asked for the state it
// reaches: a failing GetState is a failed run, as Wine's asynchronous run reports a camera that
// refused to leave Stopped (Run S_FALSE, then GetState E_FAIL). A generic failure is then replaced
// by the camera's own answer, asked of its filter alone with the graph stopped, so that a camera
// in use or kept by the privacy settings is named as such. Returns the run's result.
platform::HResult RunCameraGraph(platform::MediaControl control, platform::Filter camera);
