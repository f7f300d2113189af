// The camera's motion-JPEG frames: baseline JPEG (JFIF, YCbCr 4:2:2 with full-range BT.601 as
// JFIF defines it, 8-bit samples, the example tables of jpeg_tables.h written into every frame)
// of a B, G, R picture. Plain C++, so it can be tried on the host too.
#pragma once

#include <cstdint>
#include <vector>

namespace vcam {

class JpegEncoder {
  public:
    explicit JpegEncoder(int quality = 85);

    // topRow: the first image row's B, G, R bytes; stride: bytes from one image row to the next
    // (negative for a bottom-up DIB, topRow then pointing at its last stored row). Replaces *out.
    void Encode(const uint8_t* topRow, long width, long height, long stride,
                std::vector<uint8_t>* out);

  private:
    struct Code {
        uint16_t bits;
        uint8_t length;
    };
    struct CodeTable {
        Code codes[256];
    };
    // A block's samples and its quantised coefficients in stream order, kept because the
    // pictures a camera draws repeat whole blocks: the block above or to the left is often the
    // same, and its transform is then not done again.
    struct CachedBlock {
        uint8_t samples[64];
        int16_t coefficients[64];
        bool valid = false;
    };

    void WriteHeaders(long width, long height);
    void EncodeBlock(const uint8_t* samples, long stride, int component, CachedBlock* above);
    void Transform(const uint8_t samples[64], const float* divisors, int16_t out[64]) const;
    void PutBits(uint32_t bits, int length);
    void FlushBits();
    void Put(uint8_t byte) { out_->push_back(byte); }
    void Put16(unsigned value);

    uint8_t quant_[2][64]; // luma, chroma in natural order
    float divisors_[2][64];
    CodeTable dc_[2], ac_[2];
    std::vector<uint8_t>* out_ = nullptr;
    uint32_t bitBuffer_ = 0;
    int bitCount_ = 0;
    int previousDc_[3] = {};
    CachedBlock left_[3];
    std::vector<CachedBlock> above_[3]; // one per block column of each component
};

} // namespace vcam
