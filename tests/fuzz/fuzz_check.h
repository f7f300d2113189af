// The oracle of a fuzz target: a property that must hold for every input. When it does not, the
// target says which, with what it expected and what it got, and aborts so that libFuzzer keeps the
// input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define CHECK(condition, ...)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s: %s failed: ", __FILE__, #condition);                         \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fprintf(stderr, "\n");                                                            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Bytes as text for a failure message: printable ASCII as it is, anything else as \xNN.
inline std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += (c >= 0x20 && c < 0x7f && c != '\\') ? std::string(1, static_cast<char>(c)) : hex;
    }
    return out;
}

// Two texts that must be equal; the message gives both as Printable text.
#define CHECK_SAME(what, expected, got)                                                            \
    CHECK((expected) == (got), "%s\n  expected: \"%s\"\n  got:      \"%s\"", what,                 \
          Printable(expected).c_str(), Printable(got).c_str())
