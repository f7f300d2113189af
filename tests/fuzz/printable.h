// Bytes as text for a fuzz target's failure message.
#pragma once

#include <cstdio>
#include <string>

// Bytes as text for a failure message: printable ASCII as it is, anything else as \xNN.
inline std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        char hex[8];
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}
