// save: every camera's current state into the settings file, as a first start stores it, so that
// the window program loads the file without a question.
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "settings/settings_file.h"

int RunSave(CommandContext& context) {
    int exitCode = kExitDone;
    if (!context.ChooseSettingsPath(&exitCode))
        return exitCode;
    const std::string path = SettingsPath();
    if (!SaveCurrentCameras(path.c_str()))
        return context.Error(kExitSettings, "cannot write the settings file " + path);
    const int cameras = Shell.camerasFound;
    context.out += std::to_string(cameras) + (cameras == 1 ? " camera" : " cameras") +
                   " saved to " + path + "\n";
    return kExitDone;
}
