// The simulated camera's request log as short texts, so a test states the expected order of
// requests in one list: "procamp set 0 128 2", "vendor set 7 0 0 0 3 0", "control range 4".
#pragma once

#include "platform/sim/sim_devices.h"

#include <string>
#include <vector>

using Strings = std::vector<std::string>;

inline std::string Describe(const sim::Request& r) {
    static const char* interfaces[] = {"procamp", "control", "vendor"};
    static const char* directions[] = {"range", "get", "set"};
    std::string text = std::string(interfaces[static_cast<int>(r.interface)]) + " " +
                       directions[static_cast<int>(r.direction)] + " " + std::to_string(r.property);
    if (r.direction == sim::Direction::Set)
        for (int32_t word : r.data)
            text += " " + std::to_string(word);
    return text;
}

// Every request since the log was last cleared; the log is then cleared.
inline std::vector<std::string> TakeRequests() {
    std::vector<std::string> texts;
    for (const sim::Request& r : sim::Requests())
        texts.push_back(Describe(r));
    sim::Requests().clear();
    return texts;
}
