// formats: each entry of the camera's capability list, as its capture pin lists it: subtype, frame
// size and the frame rates the entry allows, so that a script can choose capture's --width and
// --height.
#include "camera/camera_formats.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output_format.h"
#include "core/camera_settings.h"

#include <cmath>
#include <cstdio>

namespace {

// Frames per second of a frame time in 100 ns, to two places without trailing zeros ("29.97",
// "30"); "-" for a frame time the pin leaves open (0).
std::string Fps(int64_t frameTime) {
    if (frameTime <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::round(1e9 / frameTime) / 100.0);
    std::string fps = text;
    fps.erase(fps.find_last_not_of('0') + 1);
    if (fps.back() == '.')
        fps.pop_back();
    return fps;
}

// JSON has no "-": an open frame time is null.
std::string JsonFps(int64_t frameTime) {
    return frameTime <= 0 ? "null" : Fps(frameTime);
}

} // namespace

int RunFormats(CommandContext& context) {
    const int slot = context.Slot();
    std::vector<CameraFormat> formats;
    const platform::HResult result = ReadCameraFormats(slot, &formats);
    if (platform::Failed(result))
        context.Refused("the capability list", result);
    const std::string name = CameraRecords[slot].Name;
    if (context.invocation.json) {
        std::string json = "{\"camera\":" + std::to_string(context.invocation.camera) +
                           ",\"name\":" + JsonString(name) + ",\"formats\":[";
        for (size_t i = 0; i < formats.size(); ++i) {
            const CameraFormat& f = formats[i];
            json += std::string(i > 0 ? "," : "") +
                    "{\"subtype\":" + JsonString(SubtypeText(f.subtype)) +
                    ",\"width\":" + std::to_string(f.width) +
                    ",\"height\":" + std::to_string(f.height) +
                    ",\"minFps\":" + JsonFps(f.maxFrameInterval) +
                    ",\"maxFps\":" + JsonFps(f.minFrameInterval) + "}";
        }
        context.out += json + "]}\n";
    } else {
        std::vector<std::vector<std::string>> rows = {{"subtype", "width", "height", "fps"}};
        for (const CameraFormat& f : formats)
            rows.push_back({SubtypeText(f.subtype), std::to_string(f.width),
                            std::to_string(f.height),
                            Fps(f.maxFrameInterval) + ".." + Fps(f.minFrameInterval)});
        context.out += "Camera " + std::to_string(context.invocation.camera) + ": " + name + "\n" +
                       AlignedColumns(rows);
    }
    return platform::Failed(result) ? kExitRefused : kExitDone;
}
