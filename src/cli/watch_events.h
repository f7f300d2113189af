// The watch's report: one line per event, written out at once, as text or as one JSON object.
// Both forms come from the same fields, in the same order.
#pragma once

#include "platform/types.h"

#include <string>
#include <vector>

struct EventField {
    const char* key;
    std::string value;
    bool number; // a number as it is; otherwise a string, quoted
};

struct WatchEvent {
    const char* kind; // started, applied, skipped, arrived, removed, resumed, corrected, refused,
                      // stopped
    int camera = 0;   // the camera's number on the panel; 0 for an event of no camera
    std::vector<EventField> fields;

    WatchEvent& Text(const char* key, const std::string& value);
    WatchEvent& Number(const char* key, long long value);
    WatchEvent& Result(platform::HResult result); // "result", as the program prints result codes
};

// Text: `corrected camera=1 property="Brightness" found=99 stored=140`; JSON:
// `{"event":"corrected","camera":1,"property":"Brightness","found":99,"stored":140}`.
std::string EventLine(const WatchEvent& event, bool json);
