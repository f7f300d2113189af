// Text conversions of the simulated profile functions. The system keeps a profile file as UTF-16
// text: an ANSI file (no byte-order mark) is decoded with the ANSI code page, which is 1252 under
// Wine's default English locale, a file that starts with a UTF-8 or UTF-16 byte-order mark in that
// encoding, and the file is written back in the encoding it was read in. The "A" functions pass
// their arguments and results through the ANSI code page.
#pragma once

#include <string>

namespace sim {

enum class ProfileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The encoding of a file's bytes, by its byte-order mark.
ProfileEncoding EncodingOf(const std::string& bytes);
// Finds the encoding of a file's bytes and returns the text after its byte-order mark as UTF-16.
std::u16string DecodeProfileFile(const std::string& bytes, ProfileEncoding& encoding);
// The bytes of a file with that text in that encoding, byte-order mark included.
std::string EncodeProfileFile(const std::u16string& text, ProfileEncoding encoding);

// Code page 1252 to UTF-16 and back; characters without a place in the code page become '?'
// (Windows and Wine use best-fit mappings for some of them, for example U+0100 -> 'A').
std::u16string AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::u16string& text);

} // namespace sim
