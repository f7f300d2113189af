#include "state_store.h"

#include "paths.h"
#include "request_log.h"
#include "text_files.h"
#include "win_holders.h"

#include <cstdlib>
#include <sstream>

namespace vcam {
namespace {

const wchar_t kMutexName[] = L"Local\\FramewrightVcamState";

std::string KeyOf(int camera, Interface where, long id) {
    return "cam=" + std::to_string(camera) + " " + InterfaceName(where) +
           " id=" + std::to_string(id) + " ";
}

std::vector<int32_t> WordsOf(const std::string& list) {
    std::vector<int32_t> words;
    const char* p = list.c_str();
    while (*p) {
        char* end = nullptr;
        const long word = std::strtol(p, &end, 10);
        if (end == p)
            break; // the line's end ("\r") or a damaged entry
        words.push_back(static_cast<int32_t>(word));
        p = *end == ',' ? end + 1 : end;
    }
    return words;
}

} // namespace

bool LoadStoredWords(int camera, Interface where, long id, std::vector<int32_t>* words) {
    std::string text;
    {
        NamedMutexLock lock(kMutexName);
        if (!ReadWholeFile(StatePath(), &text))
            return false;
    }
    const std::string key = KeyOf(camera, where, id) + "words=";
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        *words = WordsOf(line.substr(key.size()));
        return !words->empty();
    }
    return false;
}

void StoreWords(int camera, Interface where, long id, const std::vector<int32_t>& words) {
    NamedMutexLock lock(kMutexName);
    std::string text;
    ReadWholeFile(StatePath(), &text);
    const std::string key = KeyOf(camera, where, id) + "words=";
    std::string kept;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.compare(0, key.size(), key) != 0)
            kept += line + "\r\n";
    }
    kept += key + JoinWords(words.data(), words.size()) + "\r\n";
    WriteWholeFile(StatePath(), kept);
}

} // namespace vcam
