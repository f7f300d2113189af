#include "request_log.h"

#include "paths.h"
#include "text_files.h"

#include <cstdio>

namespace vcam {
namespace {

std::string Prefix(int camera) {
    return camera < 0 ? std::string("cam=-") : "cam=" + std::to_string(camera);
}

void Write(const std::string& line) {
    char tail[64];
    std::snprintf(tail, sizeof tail, " pid=%lu t=%lu\r\n", GetCurrentProcessId(), GetTickCount());
    AppendToFile(LogPath(), line + tail);
}

} // namespace

std::string HexResult(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

void LogRequest(int camera, const std::string& text, HRESULT result) {
    Write(Prefix(camera) + " " + text + " hr=" + HexResult(result));
}

void LogNote(int camera, const std::string& text) {
    Write(Prefix(camera) + " " + text);
}

std::string JoinWords(const int* words, size_t count) {
    std::string joined;
    for (size_t i = 0; i < count; ++i) {
        if (i)
            joined += ',';
        joined += std::to_string(words[i]);
    }
    return joined;
}

} // namespace vcam
