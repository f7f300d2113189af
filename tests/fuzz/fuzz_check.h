// The oracle of a fuzz target: a property that must hold for every input. When it does not, the
// target says which, with what it expected and what it got, and aborts so that libFuzzer keeps the
// input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define CHECK(condition, ...)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s: %s failed: ", __FILE__, #condition);                         \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fprintf(stderr, "\n");                                                            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
