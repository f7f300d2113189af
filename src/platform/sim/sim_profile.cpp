// The simulated private-profile functions on the in-memory file system, modelled on what Wine 8's
// kernel32 does (measured with tests/wine/profile_probe.cpp; see docs/profile-files.md). They read
// the file anew on every call and, when a write changes something, write it back whole (the parse
// of the last bytes read is kept, and used again only for the very same bytes):
// - the file is UTF-16 text inside: ANSI (code page 1252), or UTF-8 / UTF-16 after a byte-order
//   mark, and it is written back in the encoding it was read in;
// - a line is split at CR, LF or CRLF; space, tab, CR, LF, VT, FF and ^Z around names and values
//   are dropped, and empty lines vanish when the file is written back;
// - "[name]" (up to the last ']') opens a section; any other line is a key, with a value after its
//   first '=' or without one; ';' lines are keys like any other; of several lines in a row with an
//   empty name before '=', only the first is kept;
// - names compare without letter case (ASCII letters only), the first of several equal sections or
//   keys wins;
// - a value (or default) in matching quotes is returned without them;
// - a write adds a missing key at the end of its section and a missing section at the end of the
//   file, writes "[section]" and "key=value" lines ending in CRLF, and leaves the file untouched
//   when the value is already stored; a null value deletes the key, a null key the section.
#include "platform/profile.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile_cache.h"
#include "platform/sim/sim_profile_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Text = std::u16string;

struct Key {
    Text name;
    bool hasValue = false;
    Text value;

    bool operator==(const Key& o) const {
        return name == o.name && hasValue == o.hasValue && value == o.value;
    }
};

struct Section {
    Text name;
    std::vector<Key> keys;

    bool operator==(const Section& o) const { return name == o.name && keys == o.keys; }
};

struct Profile {
    sim::ProfileEncoding encoding = sim::ProfileEncoding::Ansi;
    std::vector<Section> sections;

    bool operator==(const Profile& o) const {
        return encoding == o.encoding && sections == o.sections;
    }
};

bool IsBlank(char16_t c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20;
}

Text SkipLeading(const Text& text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin]))
        ++begin;
    return text.substr(begin);
}

Text DropTrailing(Text text) {
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
    return text;
}

Text Trim(const Text& text) {
    return DropTrailing(SkipLeading(text));
}

char16_t FoldAscii(char16_t c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c - 'A' + 'a') : c;
}

// Wine compares profile names with only the ASCII letters folded ("[\xc9]" is not "[\xe9]").
bool SameText(const Text& a, const Text& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

Text Wide(const char* text) {
    return text ? sim::AnsiToWide(text) : Text();
}

// An empty file has no sections at all; any other starts with the nameless section of the lines
// before the first "[name]".
Profile Parse(const std::string& bytes) {
    Profile profile;
    if (bytes.empty())
        return profile;
    const Text text = sim::DecodeProfileFile(bytes, profile.encoding);
    profile.sections.push_back({Text(), {}});
    bool havePrevious = false, previousNameEmpty = false;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const Text line = Trim(text.substr(at, end - at));
        at = end;
        while (at < text.size() && (text[at] == '\r' || text[at] == '\n'))
            ++at;
        if (line.empty())
            continue;
        const size_t close = line.rfind(u']');
        if (line[0] == '[' && close != Text::npos) {
            profile.sections.push_back({Trim(line.substr(1, close - 1)), {}});
            havePrevious = false;
            continue;
        }
        Key key;
        const size_t equals = line.find(u'=');
        key.name = DropTrailing(line.substr(0, equals));
        if (equals != Text::npos) {
            key.hasValue = true;
            key.value = SkipLeading(line.substr(equals + 1));
        }
        if (!key.name.empty() || !havePrevious || !previousNameEmpty) {
            previousNameEmpty = key.name.empty();
            havePrevious = true;
            profile.sections.back().keys.push_back(key);
        }
    }
    return profile;
}

std::string Serialize(const Profile& profile) {
    Text text;
    for (const Section& section : profile.sections) {
        if (!section.name.empty())
            text += u"[" + section.name + u"]\r\n";
        for (const Key& key : section.keys)
            text += key.name + (key.hasValue ? u"=" + key.value : Text()) + u"\r\n";
    }
    return sim::EncodeProfileFile(text, profile.encoding);
}

// A name the tool asks for matches without its leading and trailing blanks.
template <typename Item> Item* Find(std::vector<Item>& items, const Text& name) {
    const Text wanted = Trim(name);
    for (Item& item : items)
        if (SameText(item.name, wanted))
            return &item;
    return nullptr;
}

// A bare file name lives in the Windows folder; any other path is taken from the current folder.
std::string ProfilePath(const char* path) {
    if (!path)
        path = "win.ini";
    if (std::strpbrk(path, "\\/") == nullptr && !(path[0] != '\0' && path[1] == ':'))
        return std::string("C:\\windows\\") + path;
    return sim::FullPath(path);
}

bool Unreadable(const std::string& full) {
    for (const std::string& p : sim::Files().unreadable)
        if (SameText(Wide(p.c_str()), Wide(full.c_str())))
            return true;
    return false;
}

// The parse of the bytes last read. Parsing depends on the bytes alone, so a call on the very same
// bytes takes it from here instead of parsing them again. A write changes the kept profile and
// keeps it for the bytes it writes only when parsing those bytes gives that profile back (see
// Flush); any other write drops it.
struct ParsedFile {
    bool valid = false;
    std::string bytes;
    Profile profile;
    // No section after the first has an empty name: writing the file back and reading it again
    // keeps every section where it is (an empty name is written without "[]", so its keys would
    // join the section before).
    bool sectionsKept = false;
};

ParsedFile& Parsed() {
    static ParsedFile parsed;
    return parsed;
}

bool checkParsed = false;

bool KeepsSections(const Profile& profile) {
    for (size_t i = 1; i < profile.sections.size(); ++i)
        if (profile.sections[i].name.empty())
            return false;
    return true;
}

// The profile of these bytes, parsed or kept from the last call on the same bytes.
Profile& ProfileOf(const std::string& bytes) {
    ParsedFile& parsed = Parsed();
    if (parsed.valid && parsed.bytes == bytes) {
        if (checkParsed && !(Parse(bytes) == parsed.profile)) {
            std::fprintf(stderr, "sim profile: the kept parse differs from a new parse\n");
            std::abort();
        }
        return parsed.profile;
    }
    parsed.profile = Parse(bytes);
    parsed.bytes = bytes;
    parsed.sectionsKept = KeepsSections(parsed.profile);
    parsed.valid = true;
    return parsed.profile;
}

// Opens a profile as the system does before every call: an existing file that cannot be opened (for
// writing too, when asked) fails; a missing file opens as an empty profile. A write changes the
// profile returned and then calls Flush, or leaves it as it was.
Profile* Open(const std::string& full, bool forWriting) {
    static const std::string kNoBytes;
    const std::string* bytes = sim::FindFile(full);
    if (bytes && (Unreadable(full) || (forWriting && sim::IsUnwritable(full)))) {
        sim::Files().lastError = 5; // ERROR_ACCESS_DENIED
        return nullptr;
    }
    return &ProfileOf(bytes ? *bytes : kNoBytes);
}

bool HasLineBreak(const Text& text) {
    return text.find_first_of(u"\r\n") != Text::npos;
}

bool HasBlanksAround(const Text& text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

// Whether a section or key name and a value, as a write stores them, read back as the same line:
// one line, nothing a read trims, a key name that is neither empty nor holds '=' nor starts a
// section header.
bool ReadsBackAsWritten(const Section& section, const Key& key) {
    return !HasLineBreak(section.name) && !HasBlanksAround(section.name) &&
           !HasLineBreak(key.name) && !HasBlanksAround(key.name) && !key.name.empty() &&
           key.name.find(u'=') == Text::npos && key.name[0] != u'[' && !HasLineBreak(key.value) &&
           !HasBlanksAround(key.value);
}

// Writes the whole profile back (CREATE_ALWAYS); fails in an unwritable place. `readsBack` tells
// that the change keeps every line of the file reading back as the profile holds it, so the kept
// parse stays valid for the bytes written, unless the new first line begins with a byte-order
// mark of another encoding.
bool Flush(const std::string& full, const Profile& profile, bool readsBack) {
    ParsedFile& parsed = Parsed();
    if (sim::IsUnwritable(full)) {
        sim::Files().lastError = 5;
        parsed.valid = false;
        return false;
    }
    std::string* bytes = sim::FindFile(full);
    if (!bytes)
        bytes = &sim::Files().files[full];
    *bytes = Serialize(profile);
    if (readsBack && parsed.valid && &parsed.profile == &profile && parsed.sectionsKept &&
        sim::EncodingOf(*bytes) == profile.encoding)
        parsed.bytes = *bytes;
    else
        parsed.valid = false;
    return true;
}

// The caller's buffer as the system's UTF-16 copy of it: `size` characters.
using WideBuffer = std::vector<char16_t>;

size_t WideLength(const WideBuffer& buffer, size_t from = 0) {
    size_t n = from;
    while (n < buffer.size() && buffer[n] != 0)
        ++n;
    return n - from;
}

// lstrcpynW: at most size-1 characters and a terminator.
void CopyN(WideBuffer& buffer, size_t at, const Text& text, size_t size) {
    if (size == 0)
        return;
    const size_t n = std::min(text.size(), size - 1);
    std::copy(text.begin(), text.begin() + n, buffer.begin() + at);
    buffer[at + n] = 0;
}

// PROFILE_CopyEntry: a value in matching quotes loses them; when the buffer's size is at least the
// text's length after the opening quote, the last character copied goes too (so a buffer exactly
// that size loses the last character before the closing quote).
size_t CopyEntry(WideBuffer& buffer, const Text& value, size_t size) {
    Text text = value;
    bool quoted = false;
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
        quoted = true;
        text.erase(0, 1);
    }
    CopyN(buffer, 0, text, size);
    const size_t length = WideLength(buffer);
    if (quoted && size >= text.size() && length > 0)
        buffer[length - 1] = 0;
    return WideLength(buffer);
}

// Spaces at the end of a default are dropped, but never its first character.
Text TrimmedDefault(Text text) {
    while (text.size() > 1 && text.back() == ' ')
        text.pop_back();
    return text;
}

// The key names of a section, each with its terminator and one more after the last (keys named
// with ';' and lines without '=' are left out); a list that does not fit is cut to size-2
// characters. Returns the count of characters before the last terminator.
long SectionKeyList(WideBuffer& buffer, const Profile& profile, const Text& sectionName) {
    const size_t oldSize = buffer.size();
    for (const Section& section : profile.sections) {
        if (!SameText(section.name, sectionName))
            continue;
        size_t size = oldSize, at = 0;
        for (const Key& key : section.keys) {
            if (size <= 2)
                break;
            if ((key.name.empty() && !key.hasValue) || (!key.name.empty() && key.name[0] == ';') ||
                !key.hasValue)
                continue;
            CopyN(buffer, at, key.name, size - 1);
            const size_t copied = WideLength(buffer, at);
            size -= copied + 1;
            at += copied + 1;
            if (size < 2)
                break;
        }
        buffer[at] = 0;
        if (size <= 1) {
            if (at > 0)
                buffer[at - 1] = 0;
            return static_cast<long>(oldSize) - 2;
        }
        return static_cast<long>(oldSize - size);
    }
    buffer[0] = 0;
    if (buffer.size() > 1)
        buffer[1] = 0;
    return 0;
}

// The names of all named sections in the same list form.
long SectionNameList(WideBuffer& buffer, const Profile& profile) {
    const size_t size = buffer.size();
    if (size == 1) {
        buffer[0] = 0;
        return 0;
    }
    size_t room = size - 1, at = 0;
    for (const Section& section : profile.sections) {
        if (section.name.empty())
            continue;
        const size_t length = section.name.size() + 1;
        if (length >= room) {
            if (room > 0) {
                std::copy(section.name.begin(), section.name.begin() + (room - 1),
                          buffer.begin() + at);
                at += room - 1;
                buffer[at++] = 0;
            }
            buffer[at] = 0;
            return static_cast<long>(size) - 2;
        }
        std::copy(section.name.begin(), section.name.end(), buffer.begin() + at);
        at += length - 1;
        buffer[at++] = 0;
        room -= length;
    }
    buffer[at] = 0;
    return static_cast<long>(at);
}

// GetPrivateProfileStringW: fills the UTF-16 buffer and returns its count.
long ReadWide(const char* section, const char* key, const char* defaultValue, WideBuffer& buffer,
              const std::string& full) {
    const size_t size = buffer.size();
    Profile* profile = Open(full, false);
    if (!section)
        return profile ? SectionNameList(buffer, *profile) : 0;
    if (!key) {
        long count = 0;
        if (profile)
            count = SectionKeyList(buffer, *profile, Wide(section));
        else
            buffer[0] = 0;
        if (buffer[0] == 0)
            count = static_cast<long>(CopyEntry(buffer, Wide(defaultValue), size));
        return count;
    }
    const Text fallback = TrimmedDefault(Wide(defaultValue));
    if (!profile) {
        CopyN(buffer, 0, fallback, size); // no quotes dropped on this path
        return static_cast<long>(WideLength(buffer));
    }
    const Key* found = nullptr;
    if (Section* s = Find(profile->sections, Wide(section)))
        found = Find(s->keys, Wide(key));
    return static_cast<long>(
        CopyEntry(buffer, found && found->hasValue ? found->value : fallback, size));
}

// Digits in base 10, or after "0x", "0o" or "0b" in base 16, 8 or 2, after blanks and a sign;
// reading stops at the first other character and the number wraps around at 32 bits
// (RtlUnicodeStringToInteger with base 0).
int32_t ParseNumber(const Text& text) {
    size_t i = 0;
    while (i < text.size() && text[i] <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'o' || text[i + 1] == 'b')) {
        base = text[i + 1] == 'x' ? 16 : text[i + 1] == 'o' ? 8 : 2;
        i += 2;
    }
    uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        uint32_t digit = base;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'Z')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'z')
            digit = c - 'a' + 10;
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return static_cast<int32_t>(negative ? 0u - total : total);
}

bool DeleteSection(const char* section, const std::string& full) {
    Profile* profile = section ? Open(full, true) : nullptr;
    if (!profile)
        return false;
    const Text name = Wide(section);
    for (auto it = profile->sections.begin(); it != profile->sections.end(); ++it)
        if (SameText(it->name, name)) {
            profile->sections.erase(it);
            Flush(full, *profile, false); // the system reports success even when this fails
            break;
        }
    return true;
}

bool DeleteKey(Profile& profile, const Text& section, const Text& key) {
    for (Section& s : profile.sections) {
        if (!SameText(s.name, section))
            continue;
        for (auto it = s.keys.begin(); it != s.keys.end(); ++it)
            if (SameText(it->name, key)) {
                s.keys.erase(it);
                return true;
            }
    }
    return false;
}

} // namespace

namespace sim {

void ForgetParsedProfile() {
    Parsed() = ParsedFile();
}

void CheckParsedProfile(bool on) {
    checkParsed = on;
}

} // namespace sim

namespace platform {

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const char* path) {
    if (!buffer || size == 0)
        return 0;
    WideBuffer wide(size, 0xAAAA);
    const long count = ReadWide(section, key, defaultValue, wide, ProfilePath(path));
    uint32_t copied = 0;
    if (count > 0) {
        const std::string ansi = sim::WideToAnsi(Text(wide.begin(), wide.begin() + count));
        copied = static_cast<uint32_t>(std::min<size_t>(ansi.size(), size - 1));
        std::memcpy(buffer, ansi.data(), copied);
    }
    buffer[copied] = '\0'; // only the characters returned and one terminator reach the buffer
    return copied;
}

int32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue,
                       const char* path) {
    WideBuffer text(30, 0);
    if (ReadWide(section, key, "", text, ProfilePath(path)) == 0 || text[0] == 0)
        return defaultValue;
    return ParseNumber(Text(text.begin(), text.begin() + WideLength(text)));
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    const std::string full = ProfilePath(path);
    if (!section && !key && !value)
        return false; // the documented "flush the cache" call
    if (!key)
        return DeleteSection(section, full);
    Profile* profile = Open(full, true);
    if (!profile)
        return false;
    if (!section) {
        sim::Files().lastError = 2; // ERROR_FILE_NOT_FOUND
        return false;
    }
    if (!value)
        return DeleteKey(*profile, Wide(section), Wide(key)) ? Flush(full, *profile, false) : true;
    // A file with any text in it starts with the nameless section of the lines before the first
    // "[name]"; an empty one gets it here, as reading the file once written would give it.
    if (profile->sections.empty())
        profile->sections.push_back({Text(), {}});
    Section* s = Find(profile->sections, Wide(section));
    if (!s) {
        profile->sections.push_back({SkipLeading(Wide(section)), {}});
        s = &profile->sections.back();
    }
    Key* k = Find(s->keys, Wide(key));
    if (!k) {
        s->keys.push_back({SkipLeading(Wide(key)), false, Text()});
        k = &s->keys.back();
    }
    const Text stored = SkipLeading(Wide(value));
    if (k->hasValue && k->value == stored)
        return true; // nothing changes: the file is not rewritten
    k->hasValue = true;
    k->value = stored;
    return Flush(full, *profile, ReadsBackAsWritten(*s, *k));
}

uint32_t CurrentDirectory(uint32_t size, char* buffer) {
    const std::string& directory = sim::Files().currentDirectory;
    const uint32_t length = static_cast<uint32_t>(directory.size());
    if (length + 1 > 260) { // more than MAX_PATH: Wine gives 0 and ERROR_FILENAME_EXCED_RANGE
        sim::Files().lastError = 206;
        return 0;
    }
    if (!buffer || size <= length)
        return length + 1;
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

} // namespace platform
