// headless_probe.exe: the headless still capture of the Windows build, run as a console program
// would run it: the cameras discovered, then one call. For tests/e2e/headless_capture.sh.
//
//   headless_probe.exe capture CAMERA WIDTH HEIGHT TIMEOUT_MS PATH
//       prints "outcome=NAME result=0xXXXXXXXX ms=N" (N: the call's own time) and exits 0
//   headless_probe.exe busy CAMERA
//       prints "busy" or "free" (PreviewOpenElsewhere) and exits 0
//
// CAMERA counts from 1, as the panel does. Exit code 2 for wrong arguments.
#include "camera/capture_filters.h"
#include "camera/headless_capture.h"
#include "platform/win32/windows_headers_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* NameOf(HeadlessOutcome outcome) {
    switch (outcome) {
    case HeadlessOutcome::Written:
        return "Written";
    case HeadlessOutcome::NoCamera:
        return "NoCamera";
    case HeadlessOutcome::CameraBusy:
        return "CameraBusy";
    case HeadlessOutcome::GraphFailed:
        return "GraphFailed";
    case HeadlessOutcome::NoFrame:
        return "NoFrame";
    case HeadlessOutcome::WriteFailed:
        return "WriteFailed";
    }
    return "?";
}

int Usage() {
    std::fprintf(stderr, "usage: headless_probe capture CAMERA WIDTH HEIGHT TIMEOUT_MS PATH\n"
                         "       headless_probe busy CAMERA\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const int slot = std::atoi(argv[2]) - 1;
    const ULONGLONG discoveryStart = GetTickCount64();
    const int found = DiscoverCameras();
    std::fprintf(stderr, "cameras=%d discovery_ms=%llu\n", found,
                 static_cast<unsigned long long>(GetTickCount64() - discoveryStart));
    if (std::strcmp(argv[1], "busy") == 0 && argc == 3) {
        std::printf("%s\n", PreviewOpenElsewhere(slot) ? "busy" : "free");
    } else if (std::strcmp(argv[1], "capture") == 0 && argc == 7) {
        const ULONGLONG start = GetTickCount64();
        const HeadlessCapture captured = CaptureWithoutWindow(
            slot, std::atoi(argv[3]), std::atoi(argv[4]),
            static_cast<uint32_t>(std::strtoul(argv[5], nullptr, 10)), argv[6]);
        std::printf("outcome=%s result=0x%08lX ms=%llu\n", NameOf(captured.outcome),
                    static_cast<unsigned long>(static_cast<uint32_t>(captured.result)),
                    static_cast<unsigned long long>(GetTickCount64() - start));
    } else {
        return Usage();
    }
    ReleaseCaptureFilters();
    return 0;
}
