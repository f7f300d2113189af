// identify: the identification signal, as the panel's button gives it. The button returns the LED
// to the mode of the camera's record afterwards; here the record takes the camera's own mode first.
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "core/camera_property.h"
#include "core/camera_settings.h"
#include "properties/vendor_properties.h"

int RunIdentify(CommandContext& context) {
    const int slot = context.Slot();
    bool refused = false;
    // A camera that does not tell its mode gets the automatic mode back, as for a code that names
    // no mode.
    RecordOf(slot)->LEDInfo = kLedCodeAutomaticRead;
    const platform::HResult read = GetLedMode(slot);
    if (platform::Failed(read)) {
        context.Refused(std::string("the read of ") + RowOf(CameraProperty::LEDInfo).key, read);
        refused = true;
    }
    const platform::HResult signal = IdentifyCamera(slot);
    if (platform::Failed(signal)) {
        context.Refused("the identification signal", signal);
        refused = true;
    } else {
        context.out += "camera " + std::to_string(context.invocation.camera) +
                       ": identification signal given\n";
    }
    return refused ? kExitRefused : kExitDone;
}
