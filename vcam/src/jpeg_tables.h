// The tables baseline JPEG streams of webcams use: the zig-zag order of the coefficients, the
// usual example quantisation tables (scaled by a quality like other encoders do) and the usual
// example Huffman tables, which also stand in when a motion-JPEG frame carries none.
// Plain C++: the camera's encoder and the test converter's decoder both use it.
#pragma once

#include <cstdint>

namespace vcam {

// kZigzag[i] is the natural (row-major) index of the i-th coefficient in stream order.
extern const uint8_t kZigzag[64];
// Natural order, quality 50.
extern const uint8_t kLumaQuant[64];
extern const uint8_t kChromaQuant[64];

// A Huffman table as a stream's DHT carries it: the number of codes of each length 1..16, then
// the symbols in code order.
struct HuffmanSpec {
    uint8_t counts[16];
    const uint8_t* symbols;
    int symbolCount;
};
extern const HuffmanSpec kLumaDc, kChromaDc, kLumaAc, kChromaAc;

// The base table scaled for quality 1..100 (50 keeps it, 100 gives all ones), natural order.
void ScaleQuant(const uint8_t base[64], int quality, uint8_t out[64]);

} // namespace vcam
