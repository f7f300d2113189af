// capture: one still of the camera's picture, written without a window by the graph of
// camera/headless_capture.h. The stream format comes from the camera's section of the settings
// file, else from --width and --height, else the default; the camera is left alone while the
// window program previews it.
#include "camera/camera_unavailable.h"
#include "camera/headless_capture.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output_format.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "settings/settings_file.h"

namespace {

struct StreamFormat {
    int32_t width = kDefaultResolutionX;
    int32_t height = kDefaultResolutionY;
};

StreamFormat ChooseStreamFormat(int slot, const std::string& path, StoredCameras stored,
                                const Invocation& invocation) {
    StreamFormat format;
    if (stored == StoredCameras::Loaded &&
        StoredStreamFormat(slot, path.c_str(), &format.width, &format.height))
        return format;
    if (invocation.width != 0)
        return {invocation.width, invocation.height};
    return format;
}

std::string SizeText(int32_t width, int32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string BusyMessage(int camera) {
    return "camera " + std::to_string(camera) +
           " is being previewed by the window program; close its preview and try again";
}

} // namespace

int RunCapture(CommandContext& context) {
    const Invocation& invocation = context.invocation;
    const int slot = context.Slot();
    ComputeSettingsPath();
    const std::string path = SettingsPath();
    const StoredCameras stored = ReadStoredCameras(path.c_str());
    if (stored == StoredCameras::OtherCameras)
        return context.Error(kExitSettings, "the settings file " + path +
                                                " describes other cameras than those attached");
    const StreamFormat format = ChooseStreamFormat(slot, path, stored, invocation);
    if (PreviewOpenElsewhere(slot))
        return context.Error(kExitCapture, BusyMessage(invocation.camera));

    const HeadlessCapture capture =
        CaptureWithoutWindow(slot, format.width, format.height, invocation.timeoutMs,
                             invocation.out.c_str(), invocation.settleMs);
    const std::string camera = "camera " + std::to_string(invocation.camera);
    switch (capture.outcome) {
    case HeadlessOutcome::Written:
        // The size the file holds, never the size asked: a camera that does not offer the asked
        // size streams its own, and a script must not be told otherwise.
        context.out += camera + ": " + SizeText(capture.width, capture.height) +
                       " image written to " + invocation.out + "\n";
        if (capture.width != format.width || capture.height != format.height)
            context.err += camera + " does not stream " + SizeText(format.width, format.height) +
                           "; the image has the camera's size (FramewrightCli formats lists its "
                           "sizes)\n";
        return kExitDone;
    case HeadlessOutcome::NoCamera:
        return context.Error(kExitNoCamera, "no camera " + std::to_string(invocation.camera));
    case HeadlessOutcome::CameraBusy:
        return context.Error(kExitCapture, BusyMessage(invocation.camera));
    case HeadlessOutcome::GraphFailed: {
        // A camera that is not ours to use right now is named as such, not as a bare code.
        const std::string unavailable = CameraUnavailableMessage(capture.result, invocation.camera);
        if (!unavailable.empty())
            return context.Error(kExitCapture, unavailable);
    }
        return context.Error(kExitCapture, camera +
                                               ": the capture graph could not be built or run: " +
                                               ResultCode(capture.result));
    case HeadlessOutcome::NoFrame:
        return context.Error(kExitCapture, camera + ": no frame within " +
                                               std::to_string(invocation.timeoutMs) + " ms");
    case HeadlessOutcome::WriteFailed:
        return context.Error(kExitCapture,
                             "cannot write " + invocation.out + ": " + ResultCode(capture.result));
    }
    return context.Error(kExitCapture, camera + ": the capture gave no known outcome");
}
