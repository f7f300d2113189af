// list: each camera found, by its number on the panel and its friendly name as the panel shows it.
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output_format.h"
#include "core/camera_settings.h"
#include "core/shell_state.h"

namespace {

int CamerasFound() {
    return Shell.camerasFound < kMaxCameras ? Shell.camerasFound : kMaxCameras;
}

} // namespace

int RunList(CommandContext& context) {
    if (context.invocation.json) {
        std::string json = "[";
        for (int slot = 0; slot < CamerasFound(); ++slot)
            json += std::string(slot > 0 ? "," : "") + "{\"camera\":" + std::to_string(slot + 1) +
                    ",\"name\":" + JsonString(CameraRecords[slot].Name) + "}";
        context.out += json + "]\n";
        return kExitDone;
    }
    if (CamerasFound() == 0) {
        context.out += "No Parvanex camera found.\n";
        return kExitDone;
    }
    std::vector<std::vector<std::string>> rows;
    for (int slot = 0; slot < CamerasFound(); ++slot)
        rows.push_back({std::to_string(slot + 1), CameraRecords[slot].Name});
    context.out += AlignedColumns(rows);
    return kExitDone;
}
