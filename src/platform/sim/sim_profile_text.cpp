// Text conversions of the simulated profile functions (see sim_profile_text.h).
#include "platform/sim/sim_profile_text.h"

#include <cstdint>

namespace sim {

namespace {

// Code page 1252, bytes 0x80 to 0x9F; the five bytes the code page leaves free map to the control
// characters of the same number, so that every byte survives a round trip (measured under Wine).
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, uint32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

// UTF-8 to UTF-16; every maximal invalid part of a sequence becomes one U+FFFD.
std::u16string Utf8ToWide(const std::string& bytes, size_t from) {
    std::u16string out;
    size_t i = from;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        int more = 0;
        uint32_t cp = 0;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            cp = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0;
            if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            cp = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        size_t j = i + 1;
        int got = 0;
        for (; got < more && j < bytes.size(); ++got, ++j) {
            const unsigned char c = static_cast<unsigned char>(bytes[j]);
            const unsigned char lo = got == 0 ? low : 0x80, hi = got == 0 ? high : 0xBF;
            if (c < lo || c > hi)
                break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (got < more) {
            out += kReplacement;
            i = j;
            continue;
        }
        AppendCodePoint(out, cp);
        i = j;
    }
    return out;
}

std::string WideToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// UTF-16 in either byte order; an odd last byte is left out (Wine reads a byte past the end of its
// buffer there, so what it makes of it is not defined).
std::u16string Utf16ToWide(const std::string& bytes, size_t from, bool bigEndian) {
    std::u16string out;
    for (size_t i = from; i + 1 < bytes.size(); i += 2) {
        const unsigned char a = static_cast<unsigned char>(bytes[i]);
        const unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
        out += static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return out;
}

std::string WideToUtf16(const std::u16string& text, bool bigEndian) {
    std::string out;
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

bool StartsWith(const std::string& bytes, const char* mark, size_t length) {
    return bytes.size() >= length && bytes.compare(0, length, mark, length) == 0;
}

} // namespace

std::u16string AnsiToWide(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        out += (c >= 0x80 && c <= 0x9F) ? kCp1252High[c - 0x80] : static_cast<char16_t>(c);
    }
    return out;
}

std::string WideToAnsi(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] == c)
                mapped = static_cast<char>(0x80 + i);
        out += mapped;
    }
    return out;
}

ProfileEncoding EncodingOf(const std::string& bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3))
        return ProfileEncoding::Utf8;
    if (StartsWith(bytes, "\xFF\xFE", 2))
        return ProfileEncoding::Utf16Le;
    if (StartsWith(bytes, "\xFE\xFF", 2))
        return ProfileEncoding::Utf16Be;
    return ProfileEncoding::Ansi;
}

std::u16string DecodeProfileFile(const std::string& bytes, ProfileEncoding& encoding) {
    encoding = EncodingOf(bytes);
    switch (encoding) {
    case ProfileEncoding::Utf8:
        return Utf8ToWide(bytes, 3);
    case ProfileEncoding::Utf16Le:
        return Utf16ToWide(bytes, 2, false);
    case ProfileEncoding::Utf16Be:
        return Utf16ToWide(bytes, 2, true);
    case ProfileEncoding::Ansi:
        break;
    }
    return AnsiToWide(bytes);
}

std::string EncodeProfileFile(const std::u16string& text, ProfileEncoding encoding) {
    switch (encoding) {
    case ProfileEncoding::Utf8:
        return "\xEF\xBB\xBF" + WideToUtf8(text);
    case ProfileEncoding::Utf16Le:
        return "\xFF\xFE" + WideToUtf16(text, false);
    case ProfileEncoding::Utf16Be:
        return "\xFE\xFF" + WideToUtf16(text, true);
    case ProfileEncoding::Ansi:
        break;
    }
    return WideToAnsi(text);
}

} // namespace sim
