// set: each value written as the panel writes it, one operation per value, in the order given; a
// refused value is named and the rest are still written.
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "core/camera_settings.h"
#include "properties/exposure_mode.h"
#include "properties/property_read.h"
#include "properties/property_write.h"
#include "properties/vendor_properties.h"

namespace {

// What the camera is asked for one value; the record takes the value as a slider move gives it.
class Writer {
  public:
    explicit Writer(int slot) : slot_(slot), record_(*RecordOf(slot)) {}

    platform::HResult Write(CommandContext& context, const Assignment& assignment,
                            int32_t* written) {
        const PropertyRow* row = assignment.property.row;
        *written = assignment.value;
        if (!row)
            return WriteCameraMode(context, assignment.value);
        if (assignment.automatic)
            return WritePropertyAutomatic(slot_, *row);
        if (Has(*row, kRaisedToEven))
            *written = EvenZoom(*written);
        record_.*row->value = *written;
        if (row->property == CameraProperty::ExposureTime)
            exposureKnown_ = true;
        return WriteProperty(slot_, *row, *written);
    }

  private:
    // The manual mode writes the record's exposure time with it: the panel's record holds the
    // time it loaded or set, so here the camera's own is read first unless a value set it.
    platform::HResult WriteCameraMode(CommandContext& context, int32_t mode) {
        if (mode == kExposureManual && !exposureKnown_) {
            const PropertyRow& exposure = RowOf(CameraProperty::ExposureTime);
            const PropertyReading reading = ReadProperty(slot_, exposure);
            if (platform::Failed(reading.result))
                context.Refused(std::string("the read of ") + exposure.key, reading.result);
            else
                record_.*exposure.value = reading.value;
            exposureKnown_ = true;
        }
        return SetExposureMode(slot_, mode);
    }

    int slot_;
    CameraSettings& record_;
    bool exposureKnown_ = false;
};

std::string Shown(const Assignment& assignment, int32_t written) {
    const std::string name = assignment.property.Name();
    if (assignment.automatic)
        return name + "=auto";
    std::string text = name + "=" + ShownValue(assignment.property, written);
    if (written != assignment.value)
        text += " (" + std::to_string(assignment.value) + " raised to even)";
    return text;
}

} // namespace

int RunSet(CommandContext& context) {
    Writer writer(context.Slot());
    bool refused = false;
    for (const Assignment& assignment : context.invocation.assignments) {
        int32_t written = 0;
        const platform::HResult result = writer.Write(context, assignment, &written);
        if (platform::Failed(result)) {
            context.Refused(Shown(assignment, written), result);
            refused = true;
        } else {
            context.out += "camera " + std::to_string(context.invocation.camera) + ": " +
                           Shown(assignment, written) + "\n";
        }
    }
    return refused ? kExitRefused : kExitDone;
}
