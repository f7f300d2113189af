#include "cli/watch_events.h"

#include "cli/output_format.h"

WatchEvent& WatchEvent::Text(const char* key, const std::string& value) {
    fields.push_back({key, value, false});
    return *this;
}

WatchEvent& WatchEvent::Number(const char* key, long long value) {
    fields.push_back({key, std::to_string(value), true});
    return *this;
}

WatchEvent& WatchEvent::Result(platform::HResult result) {
    return Text("result", ResultCode(result));
}

std::string EventLine(const WatchEvent& event, bool json) {
    std::vector<EventField> fields;
    if (event.camera > 0)
        fields.push_back({"camera", std::to_string(event.camera), true});
    fields.insert(fields.end(), event.fields.begin(), event.fields.end());
    std::string line = json ? "{\"event\":" + JsonString(event.kind) : std::string(event.kind);
    for (const EventField& field : fields) {
        const std::string value = field.number ? field.value : JsonString(field.value);
        line += json ? "," + JsonString(field.key) + ":" + value
                     : " " + std::string(field.key) + "=" + value;
    }
    return line + (json ? "}\n" : "\n");
}
