// The simulated private-profile functions on the in-memory file system. They read the file anew on
// every call and write it back whole, as the system's own functions do:
// - a line is split at CR, LF or CRLF; space, tab, CR, LF, VT, FF and ^Z around names and values
//   are dropped, and empty lines vanish when the file is written back;
// - "[name]" (up to the last ']') opens a section; any other line is a key, with a value after its
//   first '=' or without one; ';' lines are keys like any other;
// - names compare without letter case, the first of several equal sections or keys wins;
// - a value (or default) in matching quotes is returned without them;
// - a write adds a missing key at the end of its section and a missing section at the end of the
//   file, writes "[section]" and "key=value" lines ending in CRLF, and leaves the file untouched
//   when the value is already stored.
#include "platform/profile.h"
#include "platform/sim/sim_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Key {
    std::string name;
    bool hasValue = false;
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Key> keys;
};

using Profile = std::vector<Section>;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string SkipLeading(const std::string& text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin]))
        ++begin;
    return text.substr(begin);
}

std::string Trim(const std::string& text) {
    std::string trimmed = SkipLeading(text);
    while (!trimmed.empty() && IsBlank(trimmed.back()))
        trimmed.pop_back();
    return trimmed;
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

Profile Parse(const std::string& bytes) {
    Profile profile;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = at;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const std::string line = Trim(bytes.substr(at, end - at));
        at = end;
        while (at < bytes.size() && (bytes[at] == '\r' || bytes[at] == '\n'))
            ++at;
        if (line.empty())
            continue;
        const size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos) {
            profile.push_back({Trim(line.substr(1, close - 1)), {}});
            continue;
        }
        if (profile.empty())
            profile.push_back({"", {}}); // keys before the first section
        Key key;
        const size_t equals = line.find('=');
        key.name = Trim(line.substr(0, equals));
        if (equals != std::string::npos) {
            key.hasValue = true;
            key.value = Trim(line.substr(equals + 1));
        }
        profile.back().keys.push_back(key);
    }
    return profile;
}

std::string Serialize(const Profile& profile) {
    std::string bytes;
    for (const Section& section : profile) {
        if (!section.name.empty())
            bytes += "[" + section.name + "]\r\n";
        for (const Key& key : section.keys)
            bytes += key.name + (key.hasValue ? "=" + key.value : "") + "\r\n";
    }
    return bytes;
}

// A name the tool asks for matches without its leading and trailing blanks.
template <typename Item> Item* Find(std::vector<Item>& items, const char* name) {
    const std::string wanted = Trim(name);
    for (Item& item : items)
        if (SameText(item.name, wanted))
            return &item;
    return nullptr;
}

// A bare file name lives in the Windows folder; any other path is taken from the current folder.
std::string ProfilePath(const char* path) {
    if (std::strpbrk(path, "\\/") == nullptr)
        return std::string("C:\\windows\\") + path;
    return sim::FullPath(path);
}

// The stored text of a readable profile file, or null.
const std::string* ReadableFile(const std::string& full) {
    const std::string* bytes = sim::FindFile(full);
    if (!bytes)
        return nullptr;
    for (const std::string& p : sim::Files().unreadable)
        if (SameText(p, full))
            return nullptr;
    return bytes;
}

// Copies a value into the caller's buffer, dropping matching quotes around it the way the system
// does: when the buffer holds exactly the quoted text without its opening quote, the last
// character before the closing quote is lost as well.
uint32_t CopyValue(const std::string& value, char* buffer, uint32_t size) {
    if (size == 0)
        return 0;
    std::string text = value;
    bool quoted = false;
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
        quoted = true;
        text.erase(0, 1);
    }
    size_t length = std::min<size_t>(text.size(), size - 1);
    if (quoted && size >= text.size() && length > 0)
        --length;
    // Only the characters returned and one terminator reach the buffer.
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<uint32_t>(length);
}

// Spaces at the end of a default are dropped, but never its first character.
std::string TrimmedDefault(const char* defaultValue) {
    std::string text = defaultValue ? defaultValue : "";
    while (text.size() > 1 && text.back() == ' ')
        text.pop_back();
    return text;
}

// Digits in base 10, or after "0x", "0o" or "0b" in base 16, 8 or 2, after blanks and a sign;
// reading stops at the first other character and the number wraps around at 32 bits.
int32_t ParseNumber(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0 && *p <= ' ')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    uint32_t base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
        base = p[1] == 'x' ? 16 : p[1] == 'o' ? 8 : 2;
        p += 2;
    }
    uint32_t total = 0;
    for (; *p != 0; ++p) {
        uint32_t digit = base;
        if (std::isdigit(*p))
            digit = *p - '0';
        else if (std::isalpha(*p))
            digit = std::tolower(*p) - 'a' + 10;
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return static_cast<int32_t>(negative ? 0u - total : total);
}

} // namespace

namespace platform {

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue,
                           char* buffer, uint32_t size, const char* path) {
    const std::string* bytes = ReadableFile(ProfilePath(path));
    if (bytes && key[0] != '\0') {
        Profile profile = Parse(*bytes);
        if (Section* s = Find(profile, section))
            if (Key* k = Find(s->keys, key))
                if (k->hasValue)
                    return CopyValue(k->value, buffer, size);
    }
    return CopyValue(TrimmedDefault(defaultValue), buffer, size);
}

int32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue,
                       const char* path) {
    char text[30];
    if (ReadProfileString(section, key, "", text, sizeof text, path) == 0)
        return defaultValue;
    return ParseNumber(text);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    sim::FileSystem& fs = sim::Files();
    const std::string full = ProfilePath(path);
    if (sim::IsUnwritable(full)) {
        fs.lastError = 5;
        return false;
    }
    std::string* bytes = sim::FindFile(full);
    if (bytes && !ReadableFile(full)) {
        fs.lastError = 5;
        return false;
    }
    Profile profile = bytes ? Parse(*bytes) : Profile();
    Section* s = Find(profile, section);
    if (!s) {
        profile.push_back({SkipLeading(section), {}});
        s = &profile.back();
    }
    const std::string stored = SkipLeading(value);
    Key* k = Find(s->keys, key);
    if (k && k->hasValue && k->value == stored)
        return true;
    if (!k) {
        s->keys.push_back({SkipLeading(key), false, ""});
        k = &s->keys.back();
    }
    k->hasValue = true;
    k->value = stored;
    if (bytes)
        *bytes = Serialize(profile);
    else
        fs.files[full] = Serialize(profile);
    return true;
}

uint32_t CurrentDirectory(uint32_t size, char* buffer) {
    const std::string& directory = sim::Files().currentDirectory;
    const uint32_t length = static_cast<uint32_t>(directory.size());
    if (size <= length)
        return length + 1;
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

} // namespace platform
