// The second run's checks (probe_uvc.txt): the class-driver webcam's strict SetFormat and its
// YUY2 / NV12 pixels, the microphone, busy and denied cameras, the brightness ramp, DevicePath.
#pragma once

namespace probe {

int RunUvc();

} // namespace probe
