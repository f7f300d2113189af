#include "jpeg_decoder.h"

#include "jpeg_tables.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace convert {
namespace {

// kCos[u][x] = C(u) / 2 * cos((2x + 1) u pi / 16); the inverse transform is then
// f(y,x) = sum_v sum_u kCos[v][y] kCos[u][x] F(v,u).
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

uint8_t Clamp(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// A canonical Huffman table in the form decoding by code length wants.
struct Huffman {
    bool defined = false;
    int maxCode[18]; // largest code of each length, -1 when none
    int firstCode[17];
    int firstIndex[17]; // index in symbols of the first code of each length
    uint8_t symbols[256];
    // Codes of up to kFastBits bits, looked up by the next kFastBits bits of the stream: the
    // code's length (0: longer than kFastBits) and its symbol.
    static constexpr int kFastBits = 9;
    uint8_t fastLength[1 << kFastBits];
    uint8_t fastSymbol[1 << kFastBits];

    bool Set(const uint8_t counts[16], const uint8_t* values, int total) {
        if (total > 256)
            return false;
        std::memcpy(symbols, values, static_cast<size_t>(total));
        int code = 0, index = 0;
        int counted = 0;
        for (int i = 0; i < 16; ++i)
            counted += counts[i];
        if (counted != total)
            return false;
        for (int length = 1; length <= 16; ++length) {
            const int n = counts[length - 1];
            firstIndex[length] = index;
            firstCode[length] = code;
            code += n;
            index += n;
            maxCode[length] = n ? code - 1 : -1;
            if (code > (1 << length))
                return false; // more codes than the length allows
            code <<= 1;
        }
        maxCode[17] = 0x7FFFFFFF;
        std::memset(fastLength, 0, sizeof fastLength);
        code = 0;
        index = 0;
        for (int length = 1; length <= kFastBits; ++length, code <<= 1)
            for (int i = 0; i < counts[length - 1]; ++i, ++code, ++index) {
                const int first = code << (kFastBits - length);
                const int last = (code + 1) << (kFastBits - length);
                for (int k = first; k < last; ++k) {
                    fastLength[k] = static_cast<uint8_t>(length);
                    fastSymbol[k] = symbols[index];
                }
            }
        defined = true;
        return index <= total;
    }
};

struct Component {
    int id = 0, h = 1, v = 1, quant = 0;
    int dcTable = 0, acTable = 0;
    int predictor = 0;
    long planeWidth = 0, planeHeight = 0;
    uint8_t* plane = nullptr; // in the caller's scratch, every sample written by the scan
};

class Decoder {
  public:
    Decoder(const uint8_t* data, size_t size, JpegScratch* scratch)
        : p_(data), end_(data + size), scratch_(scratch) {}
    bool Decode(long width, long height, uint8_t* dib);

  private:
    bool ReadMarker(int* marker);
    unsigned Read16() {
        const unsigned v = (static_cast<unsigned>(p_[0]) << 8) | p_[1];
        p_ += 2;
        return v;
    }
    bool ReadFrame(const uint8_t* segment, unsigned length, long width, long height);
    bool ReadHuffman(const uint8_t* segment, unsigned length);
    bool ReadQuant(const uint8_t* segment, unsigned length);
    bool ReadScan(const uint8_t* segment, unsigned length);
    bool DecodeScan();
    bool DecodeBlock(Component& c, uint8_t* out, long stride);
    // The entropy-coded data, n <= 16 bits at a time.
    void Fill(int n);
    int Peek(int n) {
        Fill(n);
        return static_cast<int>((bits_ >> (bitCount_ - n)) & ((1u << n) - 1));
    }
    void Skip(int n) { bitCount_ -= n; }
    int Bits(int n) {
        if (n == 0)
            return 0;
        const int v = Peek(n);
        Skip(n);
        return v;
    }
    int DecodeSymbol(const Huffman& table);
    bool Restart();
    void Output(uint8_t* dib) const;

    const uint8_t* p_;
    const uint8_t* end_;
    JpegScratch* scratch_;
    long width_ = 0, height_ = 0;
    int hMax_ = 1, vMax_ = 1;
    unsigned restartInterval_ = 0;
    std::vector<Component> components_;
    std::vector<int> scan_; // indices into components_
    Huffman dc_[4], ac_[4];
    uint16_t quant_[4][64] = {};
    bool quantSet_[4] = {};
    // Entropy-coded data: the bit buffer, and whether a marker ended it.
    uint64_t bits_ = 0;
    int bitCount_ = 0;
    int overrun_ = 0; // zero bytes fed past the end of the data
    bool markerHit_ = false;
    bool broken_ = false;
};

bool Decoder::ReadMarker(int* marker) {
    while (p_ < end_ && *p_ != 0xFF)
        ++p_; // garbage before a marker
    while (p_ < end_ && *p_ == 0xFF)
        ++p_; // fill bytes
    if (p_ >= end_)
        return false;
    *marker = *p_++;
    return true;
}

// The frame header; only a frame of the size the connection expects is taken (checked before
// anything is allocated: a damaged header could ask for 65535 x 65535).
bool Decoder::ReadFrame(const uint8_t* s, unsigned length, long width, long height) {
    if (length < 6 || s[0] != 8)
        return false;
    height_ = (s[1] << 8) | s[2];
    width_ = (s[3] << 8) | s[4];
    const int count = s[5];
    if ((count != 1 && count != 3) || length < 6u + 3u * count || width_ != width ||
        height_ != height || !components_.empty())
        return false; // a second frame header in one stream is refused too
    components_.assign(static_cast<size_t>(count), Component{});
    for (int i = 0; i < count; ++i) {
        Component& c = components_[static_cast<size_t>(i)];
        c.id = s[6 + 3 * i];
        c.h = count == 1 ? 1 : s[7 + 3 * i] >> 4;
        c.v = count == 1 ? 1 : s[7 + 3 * i] & 15;
        c.quant = s[8 + 3 * i];
        if (c.h < 1 || c.h > 2 || c.v < 1 || c.v > 2 || c.quant > 3)
            return false;
        hMax_ = c.h > hMax_ ? c.h : hMax_;
        vMax_ = c.v > vMax_ ? c.v : vMax_;
    }
    const long mcusX = (width_ + 8 * hMax_ - 1) / (8 * hMax_);
    const long mcusY = (height_ + 8 * vMax_ - 1) / (8 * vMax_);
    for (Component& c : components_) {
        c.planeWidth = mcusX * c.h * 8;
        c.planeHeight = mcusY * c.v * 8;
    }
    for (size_t i = 0; i < components_.size(); ++i) {
        Component& c = components_[i];
        scratch_->planes[i].resize(static_cast<size_t>(c.planeWidth * c.planeHeight));
        c.plane = scratch_->planes[i].data();
    }
    return true;
}

bool Decoder::ReadHuffman(const uint8_t* s, unsigned length) {
    unsigned at = 0;
    while (at + 17 <= length) {
        const int kind = s[at] >> 4, slot = s[at] & 15;
        if (kind > 1 || slot > 3)
            return false;
        int total = 0;
        for (int i = 0; i < 16; ++i)
            total += s[at + 1 + i];
        if (at + 17 + total > length)
            return false;
        Huffman& table = kind == 0 ? dc_[slot] : ac_[slot];
        if (!table.Set(s + at + 1, s + at + 17, total))
            return false;
        at += 17 + static_cast<unsigned>(total);
    }
    return at == length;
}

bool Decoder::ReadQuant(const uint8_t* s, unsigned length) {
    unsigned at = 0;
    while (at < length) {
        const int precision = s[at] >> 4, slot = s[at] & 15;
        const unsigned size = precision ? 128 : 64;
        if (precision > 1 || slot > 3 || at + 1 + size > length)
            return false;
        for (int i = 0; i < 64; ++i)
            quant_[slot][vcam::kZigzag[i]] = static_cast<uint16_t>(
                precision ? (s[at + 1 + 2 * i] << 8) | s[at + 2 + 2 * i] : s[at + 1 + i]);
        quantSet_[slot] = true;
        at += 1 + size;
    }
    return true;
}

bool Decoder::ReadScan(const uint8_t* s, unsigned length) {
    if (components_.empty() || length < 1)
        return false;
    const int count = s[0];
    // One scan of every component (interleaved, or the only one of a grey frame).
    if (count != static_cast<int>(components_.size()) || length != 4u + 2u * count)
        return false;
    scan_.clear();
    for (int i = 0; i < count; ++i) {
        const int id = s[1 + 2 * i];
        int found = -1;
        for (size_t k = 0; k < components_.size(); ++k)
            if (components_[k].id == id)
                found = static_cast<int>(k);
        if (found < 0)
            return false;
        Component& c = components_[static_cast<size_t>(found)];
        c.dcTable = s[2 + 2 * i] >> 4;
        c.acTable = s[2 + 2 * i] & 15;
        if (c.dcTable > 3 || c.acTable > 3 || !dc_[c.dcTable].defined || !ac_[c.acTable].defined ||
            !quantSet_[c.quant])
            return false;
        scan_.push_back(found);
    }
    const uint8_t* tail = s + 1 + 2 * count;
    return tail[0] == 0 && tail[1] == 63 && tail[2] == 0; // the whole spectrum in one go
}

void Decoder::Fill(int n) {
    while (bitCount_ < n) {
        int byte = 0;
        if (!markerHit_ && p_ < end_) {
            byte = *p_++;
            if (byte == 0xFF) {
                if (p_ < end_ && *p_ == 0) {
                    ++p_; // a stuffed zero
                } else {
                    --p_; // a marker: leave it for the caller, feed zeros
                    markerHit_ = true;
                    byte = 0;
                }
            }
        } else if (!markerHit_ && ++overrun_ > 2) {
            broken_ = true; // the data ends inside the scan (not just in the look-ahead)
        }
        bits_ = (bits_ << 8) | static_cast<uint64_t>(byte);
        bitCount_ += 8;
    }
}

int Decoder::DecodeSymbol(const Huffman& table) {
    const int ahead = Peek(Huffman::kFastBits);
    if (const int length = table.fastLength[ahead]) {
        Skip(length);
        return table.fastSymbol[ahead];
    }
    const int code16 = Peek(16);
    for (int length = Huffman::kFastBits + 1; length <= 16; ++length) {
        const int code = code16 >> (16 - length);
        if (code <= table.maxCode[length]) {
            Skip(length);
            return table.symbols[table.firstIndex[length] + code - table.firstCode[length]];
        }
    }
    broken_ = true;
    return 0;
}

// A value of `size` bits as the entropy coder writes it (leading 0: a negative number).
int Extend(int bits, int size) {
    return size && bits < (1 << (size - 1)) ? bits - (1 << size) + 1 : bits;
}

bool Decoder::DecodeBlock(Component& c, uint8_t* out, long stride) {
    int coefficients[64]; // zeroed at the first AC coefficient: flat blocks need only the DC
    const int dcSize = DecodeSymbol(dc_[c.dcTable]);
    if (dcSize > 11)
        return false;
    c.predictor += Extend(Bits(dcSize), dcSize);
    const uint16_t* q = quant_[c.quant];
    coefficients[0] = c.predictor * q[0];
    bool acSeen = false;
    for (int k = 1; k < 64;) {
        const int symbol = DecodeSymbol(ac_[c.acTable]);
        const int run = symbol >> 4, size = symbol & 15;
        if (size == 0) {
            if (run != 15)
                break; // end of block
            k += 16;
            continue;
        }
        k += run;
        if (k > 63 || size > 10)
            return false;
        if (!acSeen)
            std::memset(coefficients + 1, 0, 63 * sizeof(int));
        acSeen = true;
        const int natural = vcam::kZigzag[k];
        coefficients[natural] = Extend(Bits(size), size) * q[natural];
        ++k;
    }
    if (broken_)
        return false;
    if (!acSeen) { // a flat block: no transform needed
        const uint8_t value = Clamp(static_cast<int>(std::lround(coefficients[0] / 8.0)) + 128);
        for (int y = 0; y < 8; ++y)
            std::memset(out + y * stride, value, 8);
        return true;
    }
    float rows[8][8]; // rows[v][x]: the horizontal inverse of each coefficient row
    for (int v = 0; v < 8; ++v)
        for (int x = 0; x < 8; ++x) {
            float sum = 0;
            for (int u = 0; u < 8; ++u)
                sum += kCos.c[u][x] * static_cast<float>(coefficients[v * 8 + u]);
            rows[v][x] = sum;
        }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            float sum = 0;
            for (int v = 0; v < 8; ++v)
                sum += kCos.c[v][y] * rows[v][x];
            out[y * stride + x] = Clamp(static_cast<int>(std::lround(sum)) + 128);
        }
    return true;
}

bool Decoder::Restart() {
    bitCount_ = 0; // the rest of the byte before the marker is padding
    int marker = 0;
    if (!markerHit_) { // the coder's padding can hide where the marker begins
        if (!ReadMarker(&marker))
            return false;
    } else {
        p_ += 1; // at the 0xFF
        if (p_ >= end_)
            return false;
        marker = *p_++;
    }
    markerHit_ = false;
    for (Component& c : components_)
        c.predictor = 0;
    return marker >= 0xD0 && marker <= 0xD7;
}

bool Decoder::DecodeScan() {
    const long mcusX = (width_ + 8 * hMax_ - 1) / (8 * hMax_);
    const long mcusY = (height_ + 8 * vMax_ - 1) / (8 * vMax_);
    bits_ = 0;
    bitCount_ = 0;
    overrun_ = 0;
    markerHit_ = false;
    for (Component& c : components_)
        c.predictor = 0;
    unsigned sinceRestart = 0;
    for (long my = 0; my < mcusY; ++my)
        for (long mx = 0; mx < mcusX; ++mx) {
            if (restartInterval_ && sinceRestart == restartInterval_) {
                if (!Restart())
                    return false;
                sinceRestart = 0;
            }
            for (int index : scan_) {
                Component& c = components_[static_cast<size_t>(index)];
                for (int by = 0; by < c.v; ++by)
                    for (int bx = 0; bx < c.h; ++bx) {
                        const long x = (mx * c.h + bx) * 8, y = (my * c.v + by) * 8;
                        if (!DecodeBlock(c, &c.plane[static_cast<size_t>(y * c.planeWidth + x)],
                                         c.planeWidth))
                            return false;
                    }
            }
            ++sinceRestart;
        }
    return true;
}

void Decoder::Output(uint8_t* dib) const {
    const long stride = (width_ * 3 + 3) & ~3L;
    // Sampling factors are 1 or 2, so a component's sample of pixel (x, y) is at (x >> sx, y >>
    // sy).
    auto shift = [](int factor, int most) { return factor == most ? 0 : 1; };
    const Component& luma = components_[0];
    for (long y = 0; y < height_; ++y) {
        uint8_t* row = dib + (height_ - 1 - y) * stride;
        const uint8_t* yRow =
            &luma.plane[static_cast<size_t>((y >> shift(luma.v, vMax_)) * luma.planeWidth)];
        const int lumaShift = shift(luma.h, hMax_);
        if (components_.size() == 1) {
            for (long x = 0; x < width_; ++x)
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = yRow[x];
            continue;
        }
        const Component& cb = components_[1];
        const Component& cr = components_[2];
        const uint8_t* cbRow =
            &cb.plane[static_cast<size_t>((y >> shift(cb.v, vMax_)) * cb.planeWidth)];
        const uint8_t* crRow =
            &cr.plane[static_cast<size_t>((y >> shift(cr.v, vMax_)) * cr.planeWidth)];
        const int cbShift = shift(cb.h, hMax_), crShift = shift(cr.h, hMax_);
        int last = -1; // the previous pixel's Y, Cb, Cr: runs of one colour are common
        uint8_t bgr[3] = {};
        for (long x = 0; x < width_; ++x) {
            const int l = yRow[x >> lumaShift], u = cbRow[x >> cbShift], v = crRow[x >> crShift];
            const int key = (l << 16) | (u << 8) | v;
            if (key != last) {
                last = key;
                // Full-range YCbCr: R = Y + 1.402 Cr, G = Y - 0.344136 Cb - 0.714136 Cr,
                // B = Y + 1.772 Cb, in 16-bit fixed point.
                const int y16 = (l << 16) + 32768, cb0 = u - 128, cr0 = v - 128;
                bgr[2] = Clamp((y16 + 91881 * cr0) >> 16);
                bgr[1] = Clamp((y16 - 22554 * cb0 - 46802 * cr0) >> 16);
                bgr[0] = Clamp((y16 + 116130 * cb0) >> 16);
            }
            row[3 * x] = bgr[0];
            row[3 * x + 1] = bgr[1];
            row[3 * x + 2] = bgr[2];
        }
    }
}

bool Decoder::Decode(long width, long height, uint8_t* dib) {
    // Frames without tables of their own use the usual ones.
    dc_[0].Set(vcam::kLumaDc.counts, vcam::kLumaDc.symbols, vcam::kLumaDc.symbolCount);
    dc_[1].Set(vcam::kChromaDc.counts, vcam::kChromaDc.symbols, vcam::kChromaDc.symbolCount);
    ac_[0].Set(vcam::kLumaAc.counts, vcam::kLumaAc.symbols, vcam::kLumaAc.symbolCount);
    ac_[1].Set(vcam::kChromaAc.counts, vcam::kChromaAc.symbols, vcam::kChromaAc.symbolCount);
    int marker = 0;
    if (end_ - p_ < 4 || p_[0] != 0xFF || p_[1] != 0xD8)
        return false;
    p_ += 2;
    bool decoded = false;
    while (!decoded && ReadMarker(&marker)) {
        if (marker == 0xD9 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // EOI before a scan, TEM and stray restarts carry no segment
        if (end_ - p_ < 2)
            return false;
        const unsigned length = Read16();
        if (length < 2 || static_cast<size_t>(end_ - p_) < length - 2)
            return false;
        const uint8_t* segment = p_;
        p_ += length - 2;
        bool ok = true;
        switch (marker) {
        case 0xC0: // baseline
        case 0xC1: // extended sequential, Huffman: the same decoding at 8 bits
            ok = ReadFrame(segment, length - 2, width, height);
            break;
        case 0xC4:
            ok = ReadHuffman(segment, length - 2);
            break;
        case 0xDB:
            ok = ReadQuant(segment, length - 2);
            break;
        case 0xDD:
            ok = length == 4;
            restartInterval_ = ok ? (static_cast<unsigned>(segment[0]) << 8) | segment[1] : 0;
            break;
        case 0xDA:
            ok = ReadScan(segment, length - 2) && DecodeScan();
            decoded = ok;
            break;
        default:
            // Other frame kinds (progressive, lossless, arithmetic) are refused; APPn, COM and
            // the rest are skipped.
            ok = !(marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                   marker != 0xCC);
            break;
        }
        if (!ok)
            return false;
    }
    if (!decoded)
        return false;
    Output(dib);
    return true;
}

} // namespace

bool DecodeJpegToDib(const uint8_t* data, size_t size, long width, long height, uint8_t* dib,
                     JpegScratch* scratch) {
    if (!data || !dib || !scratch || width <= 0 || height <= 0)
        return false;
    Decoder decoder(data, size, scratch);
    return decoder.Decode(width, height, dib);
}

} // namespace convert
