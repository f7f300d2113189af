// The simulated private-profile functions over arbitrary file bytes: reads and writes interleaved,
// with section, key, value, default and buffer size from nothing up. Besides what the sanitizers
// catch (a write past the caller's buffer lands in ASan's red zone, since every buffer is a heap
// block of exactly the size passed), it checks:
// - a read writes its count of characters and one terminator and not a byte more, and a key's
//   value holds no terminator before the count;
// - a failed write leaves the file as it was;
// - a value written reads back (with a buffer big enough) as the format gives it back: without
//   its surrounding blanks and matching quotes, a number written as decimal text as that number;
// - a write to a file the functions wrote themselves changes no other key's value;
// - the parse the functions keep between calls is the parse of the bytes at hand.
// A value "the format can carry" has no line break, its key is not empty, holds no '=' and does not
// open a section, and the write leaves the file's encoding as it was: a rewrite that drops the
// lines before a line starting with a byte-order mark turns the file into UTF-8 or UTF-16, as it
// does on the real system.

// ctest runs: 3000

#include "platform/profile.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_files.h"
#include "fuzz_check.h"
#include "platform/sim/sim_profile_cache.h"
#include "platform/sim/sim_profile_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kPath = "C:\\work\\a.ini";
constexpr unsigned char kUntouched = 0xA5;
constexpr uint32_t kLargestBuffer = 5000;

// A null pointer, or a text from the input that owns its bytes.
using Arg = std::optional<std::string>;
const char* Ptr(const Arg& arg) {
    return arg ? arg->c_str() : nullptr;
}

std::string FileBytes() {
    const std::string* file = sim::FindFile(kPath);
    return file ? *file : std::string();
}

// The blanks the format drops around names and values: tab to carriage return, ^Z and space.
const char* const kBlanks = "\t\n\v\f\r\x1a ";

std::string Trim(const std::string& text) {
    const size_t begin = text.find_first_not_of(kBlanks);
    return begin == std::string::npos
               ? std::string()
               : text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

// Names match trimmed and with ASCII letters in either case.
std::string NameKey(const std::string& name) {
    std::string key = Trim(name);
    for (char& c : key)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return key;
}

// What a read gives back of a stored value: no surrounding blanks, no matching quotes.
std::string AsRead(const std::string& value) {
    std::string text = Trim(value);
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        text = text.substr(1, text.size() - 2);
    return text;
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// Whether the file can hold this key and value as written: a line of its own that is a key line.
bool Carriable(const Arg& section, const Arg& key, const Arg& value) {
    if (!section || !key || !value)
        return false;
    const std::string name = Trim(*key);
    return !HasLineBreak(*section) && !HasLineBreak(*key) && !HasLineBreak(*value) &&
           !name.empty() && name.find('=') == std::string::npos && name[0] != '[';
}

// A read into a heap block of exactly `size` bytes, filled with a marker first; checks what the
// call wrote against the count it returned. Returns the characters before the count.
std::string ReadString(const Arg& section, const Arg& key, const Arg& fallback, uint32_t size) {
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
    std::memset(buffer.get(), kUntouched, size);
    char* chars = reinterpret_cast<char*>(buffer.get());
    const uint32_t count =
        platform::ReadProfileString(Ptr(section), Ptr(key), Ptr(fallback), chars, size, kPath);
    if (size == 0) {
        CHECK(count == 0, "a read into no buffer returned %u", count);
        return std::string();
    }
    CHECK(count < size, "a count of %u leaves no room for a terminator in %u", count, size);
    CHECK(buffer[count] == 0, "0x%02x, not a terminator, after the count %u", buffer[count], count);
    static const std::vector<unsigned char> untouched(kLargestBuffer, kUntouched);
    CHECK(std::memcmp(buffer.get() + count + 1, untouched.data(), size - count - 1) == 0,
          "a byte written after the terminator at %u of %u", count, size);
    std::string text(chars, count);
    if (section && key)
        CHECK(text.find('\0') == std::string::npos, "a value of %u characters ends at %zu", count,
              std::strlen(chars));
    return text;
}

// Big enough for any value of a file the input can make.
std::string ReadBig(const std::string& section, const std::string& key) {
    return ReadString(section, key, std::string("\x01missing"), kLargestBuffer);
}

// Names come from a small pool so that reads and writes meet the same keys again.
struct Names {
    std::vector<std::string> pool;

    Arg Next(FuzzedDataProvider& in) {
        const uint8_t choice = in.ConsumeIntegral<uint8_t>();
        if (choice < 8)
            return std::nullopt;
        if (choice < 140 && !pool.empty())
            return pool[choice % pool.size()];
        std::string text = in.ConsumeRandomLengthString(300);
        text.resize(std::strlen(text.c_str())); // what the functions see of it
        if (pool.size() < 12)
            pool.push_back(text);
        return text;
    }
};

// Small sizes as often as large ones.
uint32_t BufferSize(FuzzedDataProvider& in) {
    const uint32_t kLimits[] = {4, 64, 400, kLargestBuffer};
    return in.ConsumeIntegralInRange<uint32_t>(0, kLimits[in.ConsumeIntegralInRange<int>(0, 3)]);
}

// A section and key written to, whose value a later write must keep.
using Probe = std::pair<std::string, std::string>;

class Session {
  public:
    explicit Session(FuzzedDataProvider& in) : in_(in) {}

    void Run() {
        sim::Files().files[kPath] = in_.ConsumeRandomLengthString(4096);
        while (in_.remaining_bytes() > 0) {
            const int step = in_.ConsumeIntegralInRange<int>(0, 9);
            if (step <= 1) {
                ReadString(names_.Next(in_), names_.Next(in_), names_.Next(in_), BufferSize(in_));
            } else if (step == 2) {
                platform::ReadProfileInt(Ptr(names_.Next(in_)), Ptr(names_.Next(in_)),
                                         in_.ConsumeIntegral<int32_t>(), kPath);
            } else if (step <= 6) { // texts three times as often as numbers
                const Arg section = names_.Next(in_), key = names_.Next(in_);
                if (step < 6) {
                    Write(section, key, names_.Next(in_), std::nullopt);
                } else {
                    const int32_t number = in_.ConsumeIntegral<int32_t>();
                    Write(section, key, std::to_string(number), number);
                }
            } else if (step == 7) {
                ToggleAccess();
            } else if (sim::Files().unreadable.count(kPath) == 0) {
                // Another program writes or deletes the file, unless it is held open.
                if (step == 8)
                    sim::Files().files[kPath] = in_.ConsumeRandomLengthString(512);
                else
                    sim::Files().files.erase(kPath);
            }
        }
    }

  private:
    // Another program holds the file open without sharing (only an existing file can be held), or
    // the file's folder is write-protected.
    void ToggleAccess() {
        const bool on = in_.ConsumeBool();
        std::set<std::string>& set =
            in_.ConsumeBool() ? sim::Files().unreadable : sim::Files().unwritable;
        if (!on)
            set.erase(kPath);
        else if (&set != &sim::Files().unreadable || sim::FindFile(kPath))
            set.insert(kPath);
    }

    void Write(const Arg& section, const Arg& key, const Arg& value,
               std::optional<int32_t> number) {
        if (section && key && probes_.size() < 16)
            probes_.insert({*section, *key});
        const std::string before = FileBytes();
        const bool existed = sim::FindFile(kPath) != nullptr;
        const bool rewrittenBefore = existed && before == lastRewrite_;
        std::map<Probe, std::string> others;
        if (rewrittenBefore)
            for (const Probe& p : probes_)
                others[p] = ReadBig(p.first, p.second);

        const bool ok = platform::WriteProfileString(Ptr(section), Ptr(key), Ptr(value), kPath);
        const std::string after = FileBytes();
        if (!ok) {
            CHECK_SAME("a failed write leaves the file as it was", before, after);
            return;
        }
        // A write whose names or value are not carriable can leave lines that the next rewrite
        // changes: a section name with a line break leaves "[]" and a stray line, a later section
        // without a name, and the system writes such a section without its header, so its keys
        // join the section above. Only a carriable write leaves a settled file.
        if (after != before || !existed)
            lastRewrite_ = Carriable(section, key, value) ? after : kNotSettled;
        if (!Carriable(section, key, value) || sim::EncodingOf(before) != sim::EncodingOf(after))
            return;

        const std::string got = ReadBig(*section, *key);
        CHECK_SAME("a written value reads back", AsRead(*value), got);
        if (number) {
            const int32_t read = platform::ReadProfileInt(Ptr(section), Ptr(key), -7, kPath);
            CHECK(read == *number, "%d written, %d read back", *number, read);
        }
        for (const auto& [p, kept] : others) {
            if (NameKey(p.first) == NameKey(*section) && NameKey(p.second) == NameKey(*key))
                continue;
            const std::string now = ReadBig(p.first, p.second);
            CHECK_SAME("a write keeps the values of other keys", kept, now);
        }
    }

    FuzzedDataProvider& in_;
    Names names_;
    std::set<Probe> probes_; // the first 16
    static constexpr const char* kNotSettled = "\x01no settled rewrite";
    std::string lastRewrite_ = kNotSettled;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sim::ResetAll();
    sim::CheckParsedProfile(true); // the parse kept between calls must equal a new one
    FuzzedDataProvider in(data, size);
    Session(in).Run();
    sim::ResetAll(); // nothing of this input stays allocated into the next
    return 0;
}
