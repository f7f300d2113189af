// apply: the camera's section of the settings file applied as a start-up applies it, after the
// same check of the file against the cameras attached. The file is only read: no default is
// written back and no option of "General" is read, so none (InitAndExit above all) is acted on.
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "properties/camera_records.h"
#include "settings/settings_file.h"

int RunApply(CommandContext& context) {
    int exitCode = kExitDone;
    if (!context.ChooseSettingsPath(&exitCode))
        return exitCode;
    const std::string path = SettingsPath();
    switch (ReadStoredCameras(path.c_str())) {
    case StoredCameras::NoFile:
        return context.Error(kExitSettings, "cannot read the settings file " + path);
    case StoredCameras::OtherCameras:
        return context.Error(kExitSettings, "the settings file " + path +
                                                " describes other cameras than those attached");
    case StoredCameras::Loaded:
        break;
    }
    Shell.selectedCamera = context.Slot();
    General.InitAndExit = 0; // the apply ends the process when it is 1; nothing here sets it
    std::vector<Refusal> refusals;
    ApplyCameraSettings(&refusals);
    for (const Refusal& refusal : refusals)
        context.Refused(refusal.property, refusal.result);
    context.out += "camera " + std::to_string(context.invocation.camera) + ": [Camera" +
                   std::to_string(context.Slot()) + "] of " + path + " applied\n";
    return refusals.empty() ? kExitDone : kExitRefused;
}
