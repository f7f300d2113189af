#include "probe_support.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace probe {

const GUID kSampleGrabberClass = {
    0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const GUID kSampleGrabberInterface = {
    0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};
const GUID kNullRendererClass = {
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const GUID kVmr9Class = {
    0x51B4ABF3, 0x748F, 0x4E3B, {0xA2, 0x76, 0xC8, 0x28, 0x33, 0x0E, 0x92, 0x6A}};
const GUID kVendorSet = {
    0xCAAE4966, 0x272C, 0x44A9, {0xB7, 0x92, 0x71, 0x95, 0x3F, 0x89, 0xDB, 0x2B}};
const GUID kCaptureCategory = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

namespace {
int g_failures = 0;
int g_checks = 0;
} // namespace

void Check(bool passed, const char* format, ...) {
    ++g_checks;
    if (!passed)
        ++g_failures;
    std::printf(passed ? "ok   " : "FAIL ");
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

void Note(const char* format, ...) {
    std::printf("     ");
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

int Failures() {
    return g_failures;
}

int Checks() {
    return g_checks;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::wstring EnvironmentPath(const wchar_t* name, const wchar_t* fallback) {
    wchar_t buffer[2048];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 2048);
    std::wstring path = n && n < 2048 ? buffer : fallback;
    if (!path.empty() && path[0] == L'/') {
        path = L"Z:" + path;
        for (wchar_t& c : path)
            if (c == L'/')
                c = L'\\';
    }
    return path;
}

std::string RequestLog() {
    const std::wstring path =
        EnvironmentPath(L"FRAMEWRIGHT_VCAM_LOG", L"C:\\framewright_vcam\\requests.log");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

bool Logged(const std::string& text) {
    return RequestLog().find(text) != std::string::npos;
}

} // namespace probe
