// The one simulated desktop of a test process, and its reset between tests.
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_graph.h"
#include "platform/sim/sim_profile_cache.h"

namespace sim {

Desktop& TheDesktop() {
    static Desktop desktop;
    return desktop;
}

void ResetAll() {
    TheDesktop() = Desktop();
    Files() = FileSystem();
    ResetDevices();
    ResetGraph();
    ForgetParsedProfile();
}

} // namespace sim
