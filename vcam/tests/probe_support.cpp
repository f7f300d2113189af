#include "probe_support.h"

#include <cstdarg>
#include <cstdio>

namespace probe {

const GUID kSampleGrabberClass = {
    0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const GUID kSampleGrabberInterface = {
    0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};
const GUID kNullRendererClass = {
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
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

int Failures() {
    return g_failures;
}

int Checks() {
    return g_checks;
}

} // namespace probe
