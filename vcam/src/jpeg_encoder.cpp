#include "jpeg_encoder.h"

#include "jpeg_tables.h"

#include <cmath>
#include <cstring>

namespace vcam {
namespace {

// kCos[u][x] = C(u) / 2 * cos((2x + 1) u pi / 16): the forward transform is then
// F(v,u) = sum_y sum_x kCos[v][y] kCos[u][x] s(y,x).
struct CosTable {
    float c[8][8];
    CosTable() {
        const double pi = std::acos(-1.0);
        for (int u = 0; u < 8; ++u)
            for (int x = 0; x < 8; ++x)
                c[u][x] = static_cast<float>((u == 0 ? std::sqrt(0.5) : 1.0) / 2.0 *
                                             std::cos((2 * x + 1) * u * pi / 16.0));
    }
};
const CosTable kCos;

// The canonical codes of a table: within each length, consecutive values in symbol order.
void BuildCodes(const HuffmanSpec& table, uint16_t* bits, uint8_t* lengths) {
    unsigned code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < table.counts[length - 1]; ++i, ++k) {
            bits[table.symbols[k]] = static_cast<uint16_t>(code++);
            lengths[table.symbols[k]] = static_cast<uint8_t>(length);
        }
        code <<= 1;
    }
}

// The number of bits of |value| (the JPEG "category"), 0 for 0.
int Magnitude(int value) {
    int v = value < 0 ? -value : value, n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

uint8_t Clamp(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

} // namespace

JpegEncoder::JpegEncoder(int quality) {
    ScaleQuant(kLumaQuant, quality, quant_[0]);
    ScaleQuant(kChromaQuant, quality, quant_[1]);
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 64; ++i)
            divisors_[t][i] = 1.0f / quant_[t][i];
    const HuffmanSpec* dcSpecs[2] = {&kLumaDc, &kChromaDc};
    const HuffmanSpec* acSpecs[2] = {&kLumaAc, &kChromaAc};
    for (int t = 0; t < 2; ++t) {
        uint16_t bits[256] = {};
        uint8_t lengths[256] = {};
        BuildCodes(*dcSpecs[t], bits, lengths);
        for (int s = 0; s < 256; ++s)
            dc_[t].codes[s] = {bits[s], lengths[s]};
        std::memset(bits, 0, sizeof bits);
        std::memset(lengths, 0, sizeof lengths);
        BuildCodes(*acSpecs[t], bits, lengths);
        for (int s = 0; s < 256; ++s)
            ac_[t].codes[s] = {bits[s], lengths[s]};
    }
}

void JpegEncoder::Put16(unsigned value) {
    Put(static_cast<uint8_t>(value >> 8));
    Put(static_cast<uint8_t>(value));
}

void JpegEncoder::WriteHeaders(long width, long height) {
    Put16(0xFFD8); // SOI
    // APP0 "JFIF" 1.01, no density, no thumbnail: YCbCr of full range.
    static const uint8_t jfif[] = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0,
                                   1,    1,    0, 0,  1,   0,   1,   0,   0};
    out_->insert(out_->end(), jfif, jfif + sizeof jfif);
    for (int t = 0; t < 2; ++t) { // DQT, 8-bit, stream order
        Put16(0xFFDB);
        Put16(67);
        Put(static_cast<uint8_t>(t));
        for (int i = 0; i < 64; ++i)
            Put(quant_[t][kZigzag[i]]);
    }
    Put16(0xFFC0); // SOF0: 8-bit, three components, Y 2x1 (4:2:2), Cb and Cr 1x1
    Put16(17);
    Put(8);
    Put16(static_cast<unsigned>(height));
    Put16(static_cast<unsigned>(width));
    Put(3);
    static const uint8_t components[9] = {1, 0x21, 0, 2, 0x11, 1, 3, 0x11, 1};
    out_->insert(out_->end(), components, components + 9);
    const HuffmanSpec* specs[4] = {&kLumaDc, &kLumaAc, &kChromaDc, &kChromaAc};
    const uint8_t ids[4] = {0x00, 0x10, 0x01, 0x11}; // class << 4 | table
    for (int i = 0; i < 4; ++i) {
        Put16(0xFFC4);
        Put16(static_cast<unsigned>(2 + 1 + 16 + specs[i]->symbolCount));
        Put(ids[i]);
        out_->insert(out_->end(), specs[i]->counts, specs[i]->counts + 16);
        out_->insert(out_->end(), specs[i]->symbols, specs[i]->symbols + specs[i]->symbolCount);
    }
    Put16(0xFFDA); // SOS: all three components, DC/AC tables 0 for Y and 1 for chroma
    Put16(12);
    Put(3);
    static const uint8_t scan[6] = {1, 0x00, 2, 0x11, 3, 0x11};
    out_->insert(out_->end(), scan, scan + 6);
    Put(0);
    Put(63);
    Put(0);
}

void JpegEncoder::PutBits(uint32_t bits, int length) {
    bitBuffer_ = (bitBuffer_ << length) | (bits & ((1u << length) - 1));
    bitCount_ += length;
    while (bitCount_ >= 8) {
        const uint8_t byte = static_cast<uint8_t>(bitBuffer_ >> (bitCount_ - 8));
        Put(byte);
        if (byte == 0xFF)
            Put(0); // a 0xFF in the entropy data is followed by a stuffed zero
        bitCount_ -= 8;
    }
}

void JpegEncoder::FlushBits() {
    if (bitCount_ > 0)
        PutBits(0x7F, 8 - bitCount_); // pad the last byte with ones
    bitBuffer_ = 0;
    bitCount_ = 0;
}

void JpegEncoder::Transform(const uint8_t samples[64], const float* divisors,
                            int16_t out[64]) const {
    float rows[8][8];
    for (int y = 0; y < 8; ++y)
        for (int u = 0; u < 8; ++u) {
            float sum = 0;
            for (int x = 0; x < 8; ++x)
                sum += kCos.c[u][x] * (samples[y * 8 + x] - 128.0f);
            rows[y][u] = sum;
        }
    float natural[64];
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) {
            float sum = 0;
            for (int y = 0; y < 8; ++y)
                sum += kCos.c[v][y] * rows[y][u];
            natural[v * 8 + u] = sum;
        }
    for (int i = 0; i < 64; ++i)
        out[i] = static_cast<int16_t>(std::lround(natural[kZigzag[i]] * divisors[kZigzag[i]]));
}

void JpegEncoder::EncodeBlock(const uint8_t* plane, long stride, int component,
                              CachedBlock* above) {
    uint8_t samples[64];
    for (int y = 0; y < 8; ++y)
        std::memcpy(samples + 8 * y, plane + y * stride, 8);
    const int table = component == 0 ? 0 : 1;
    CachedBlock& left = left_[component];
    const int16_t* coefficients = nullptr;
    if (above->valid && std::memcmp(above->samples, samples, 64) == 0) {
        coefficients = above->coefficients;
    } else if (left.valid && std::memcmp(left.samples, samples, 64) == 0) {
        *above = left;
        coefficients = above->coefficients;
    } else {
        std::memcpy(above->samples, samples, 64);
        Transform(samples, divisors_[table], above->coefficients);
        above->valid = true;
        coefficients = above->coefficients;
    }
    left = *above;

    const int dc = coefficients[0];
    const int diff = dc - previousDc_[component];
    previousDc_[component] = dc;
    int size = Magnitude(diff);
    PutBits(dc_[table].codes[size].bits, dc_[table].codes[size].length);
    if (size)
        PutBits(static_cast<uint32_t>(diff < 0 ? diff - 1 : diff), size);
    int run = 0;
    for (int i = 1; i < 64; ++i) {
        const int value = coefficients[i];
        if (value == 0) {
            ++run;
            continue;
        }
        while (run > 15) { // ZRL: sixteen zeros
            PutBits(ac_[table].codes[0xF0].bits, ac_[table].codes[0xF0].length);
            run -= 16;
        }
        size = Magnitude(value);
        const int symbol = (run << 4) | size;
        PutBits(ac_[table].codes[symbol].bits, ac_[table].codes[symbol].length);
        PutBits(static_cast<uint32_t>(value < 0 ? value - 1 : value), size);
        run = 0;
    }
    if (run > 0) // EOB
        PutBits(ac_[table].codes[0].bits, ac_[table].codes[0].length);
}

void JpegEncoder::Encode(const uint8_t* topRow, long width, long height, long stride,
                         std::vector<uint8_t>* out) {
    out_ = out;
    out_->clear();
    bitBuffer_ = 0;
    bitCount_ = 0;
    for (int c = 0; c < 3; ++c) {
        previousDc_[c] = 0;
        left_[c].valid = false;
    }
    WriteHeaders(width, height);
    // One band of 8 rows at a time, widened to whole 16 x 8 units by repeating the last pixel
    // and the last row.
    const long mcus = (width + 15) / 16;
    const long lumaWidth = mcus * 16, chromaWidth = mcus * 8;
    above_[0].assign(static_cast<size_t>(mcus * 2), CachedBlock{});
    above_[1].assign(static_cast<size_t>(mcus), CachedBlock{});
    above_[2].assign(static_cast<size_t>(mcus), CachedBlock{});
    std::vector<uint8_t> luma(static_cast<size_t>(lumaWidth * 8));
    std::vector<uint8_t> cb(static_cast<size_t>(chromaWidth * 8)), cr(cb.size());
    for (long band = 0; band < height; band += 8) {
        for (long r = 0; r < 8; ++r) {
            const long y = band + r < height ? band + r : height - 1;
            const uint8_t* row = topRow + y * stride;
            for (long x = 0; x < lumaWidth; x += 2) {
                int sumB = 0, sumG = 0, sumR = 0;
                for (long k = 0; k < 2; ++k) {
                    const long sx = x + k < width ? x + k : width - 1;
                    const int b = row[3 * sx], g = row[3 * sx + 1], red = row[3 * sx + 2];
                    luma[static_cast<size_t>(r * lumaWidth + x + k)] =
                        Clamp((19595 * red + 38470 * g + 7471 * b + 32768) >> 16);
                    sumB += b;
                    sumG += g;
                    sumR += red;
                }
                // The chroma of the pair's mean colour (sums of two: halve in the weights).
                const size_t at = static_cast<size_t>(r * chromaWidth + x / 2);
                cb[at] = Clamp(((-11059 * sumR - 21709 * sumG + 32768 * sumB + 65536) >> 17) + 128);
                cr[at] = Clamp(((32768 * sumR - 27439 * sumG - 5329 * sumB + 65536) >> 17) + 128);
            }
        }
        for (long m = 0; m < mcus; ++m) {
            EncodeBlock(&luma[static_cast<size_t>(m * 16)], lumaWidth, 0,
                        &above_[0][static_cast<size_t>(2 * m)]);
            EncodeBlock(&luma[static_cast<size_t>(m * 16 + 8)], lumaWidth, 0,
                        &above_[0][static_cast<size_t>(2 * m + 1)]);
            EncodeBlock(&cb[static_cast<size_t>(m * 8)], chromaWidth, 1,
                        &above_[1][static_cast<size_t>(m)]);
            EncodeBlock(&cr[static_cast<size_t>(m * 8)], chromaWidth, 2,
                        &above_[2][static_cast<size_t>(m)]);
        }
    }
    FlushBits();
    Put16(0xFFD9); // EOI
    out_ = nullptr;
}

} // namespace vcam
