// The fuzzer's bytes read front to back as little-endian fields, for targets whose inputs have a
// fixed layout (and seed files written to it).
#pragma once

#include <cstddef>
#include <cstdint>

struct ByteReader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    size_t Left() const { return size - at; }
    // A field the input ends in keeps the bytes there were; after the end, fields are zero.
    template <typename T> T Take() {
        uint64_t bits = 0;
        for (size_t b = 0; b < sizeof(T) && at < size; ++b, ++at)
            bits |= uint64_t{data[at]} << (8 * b);
        return static_cast<T>(bits);
    }
};
