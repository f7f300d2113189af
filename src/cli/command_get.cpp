// get: each property named (all of them in table order, then the camera mode, when none is) as the
// camera reports it: value and automatic flag, and for a property with a range query the range,
// its step and default and whether it can be automatic.
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output_format.h"
#include "core/camera_settings.h"
#include "properties/property_read.h"

namespace {

struct Report {
    NamedProperty property;
    PropertyReading reading;
    platform::HResult rangeResult = platform::kFalse; // S_FALSE: the property has no range query
    platform::PropertyRange range;

    bool Ranged() const { return rangeResult != platform::kFalse; }
};

// The value first, then the range, so that the camera's log reads property by property.
Report Read(int slot, const NamedProperty& property) {
    Report report;
    report.property = property;
    if (property.row) {
        report.reading = ReadProperty(slot, *property.row);
        report.rangeResult = ReadPropertyRange(slot, *property.row, &report.range);
    } else {
        report.reading = ReadCameraMode(slot);
    }
    return report;
}

std::vector<NamedProperty> Requested(const Invocation& invocation) {
    if (!invocation.properties.empty())
        return invocation.properties;
    std::vector<NamedProperty> all;
    for (const PropertyRow& row : AllProperties())
        all.push_back({&row});
    all.push_back({nullptr});
    return all;
}

std::string YesNo(bool yes) {
    return yes ? "yes" : "no";
}

bool CanBeAutomatic(const platform::PropertyRange& range) {
    return (range.capabilities & kFlagsAuto) != 0;
}

std::vector<std::string> TextRow(const Report& report) {
    const PropertyReading& reading = report.reading;
    std::vector<std::string> row = {report.property.Name()};
    if (platform::Failed(reading.result)) {
        row.insert(row.end(), {"refused " + ResultCode(reading.result), "-"});
    } else {
        row.push_back(ShownValue(report.property, reading.value));
        row.push_back(reading.hasAutomatic ? YesNo(reading.automatic) : "-");
    }
    const platform::PropertyRange& range = report.range;
    if (!report.Ranged())
        row.insert(row.end(), {"-", "-", "-", "-", "-"});
    else if (platform::Failed(report.rangeResult))
        row.insert(row.end(), {"refused " + ResultCode(report.rangeResult), "-", "-", "-", "-"});
    else
        row.insert(row.end(), {std::to_string(range.minimum), std::to_string(range.maximum),
                               std::to_string(range.step), std::to_string(range.defaultValue),
                               YesNo(CanBeAutomatic(range))});
    return row;
}

std::string JsonMember(const Report& report) {
    const PropertyReading& reading = report.reading;
    std::vector<std::string> fields;
    if (platform::Failed(reading.result)) {
        fields.push_back("\"error\":" + JsonString(ResultCode(reading.result)));
    } else {
        fields.push_back("\"value\":" +
                         (ShownAsWord(report.property, reading.value)
                              ? JsonString(ShownValue(report.property, reading.value))
                              : std::to_string(reading.value)));
        if (reading.hasAutomatic)
            fields.push_back(std::string("\"automatic\":") +
                             (reading.automatic ? "true" : "false"));
    }
    const platform::PropertyRange& range = report.range;
    if (report.Ranged() && platform::Failed(report.rangeResult)) {
        fields.push_back("\"rangeError\":" + JsonString(ResultCode(report.rangeResult)));
    } else if (report.Ranged()) {
        fields.push_back("\"minimum\":" + std::to_string(range.minimum));
        fields.push_back("\"maximum\":" + std::to_string(range.maximum));
        fields.push_back("\"step\":" + std::to_string(range.step));
        fields.push_back("\"default\":" + std::to_string(range.defaultValue));
        fields.push_back(std::string("\"canBeAutomatic\":") +
                         (CanBeAutomatic(range) ? "true" : "false"));
    }
    std::string member = JsonString(report.property.Name()) + ":{";
    for (size_t i = 0; i < fields.size(); ++i)
        member += (i > 0 ? "," : "") + fields[i];
    return member + "}";
}

} // namespace

int RunGet(CommandContext& context) {
    const int slot = context.Slot();
    std::vector<Report> reports;
    bool refused = false;
    for (const NamedProperty& property : Requested(context.invocation)) {
        reports.push_back(Read(slot, property));
        const Report& report = reports.back();
        const std::string name = property.Name();
        if (platform::Failed(report.reading.result)) {
            context.Refused("the read of " + name, report.reading.result);
            refused = true;
        }
        if (report.Ranged() && platform::Failed(report.rangeResult)) {
            context.Refused("the range of " + name, report.rangeResult);
            refused = true;
        }
    }
    const std::string name = CameraRecords[slot].Name;
    if (context.invocation.json) {
        std::string json = "{\"camera\":" + std::to_string(context.invocation.camera) +
                           ",\"name\":" + JsonString(name);
        for (const Report& report : reports)
            json += "," + JsonMember(report);
        context.out += json + "}\n";
    } else {
        std::vector<std::vector<std::string>> rows = {{"property", "value", "automatic", "minimum",
                                                       "maximum", "step", "default",
                                                       "can be automatic"}};
        for (const Report& report : reports)
            rows.push_back(TextRow(report));
        context.out += "Camera " + std::to_string(context.invocation.camera) + ": " + name + "\n" +
                       AlignedColumns(rows);
    }
    return refused ? kExitRefused : kExitDone;
}
