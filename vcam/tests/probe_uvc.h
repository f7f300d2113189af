// The probe's run on the cameras of probe_uvc.txt, shaped like USB devices behind the class
// driver: device paths, the microphone, strict stream configuration, YUY2, NV12 and MJPG
// streams and failing connections. The streamed frames go to folder.
#pragma once

namespace probe {

int RunUvc(const char* folder);

} // namespace probe
