// The whole tool on the simulated desktop over an arbitrary "Framewright.ini": start-up with one
// or two cameras, "Save Settings", then a second start over what the save wrote and a second save.
// Every key the first save wrote must read back at the second start with the value saved, so the
// second save writes only values already stored and leaves the file as it was; a difference
// aborts with the first line that differs.
//
// The first input byte chooses the set-up: bit 0 one or two cameras, bits 1-2 and 3-4 the models
// of the first and second camera, bit 5 a current directory too long for the settings path,
// bit 6 a check of every parse the profile functions keep between calls against a new one; the rest
// is the file's bytes.
//
// A second start cannot read back what was saved when a rewrite changed the file's encoding (a
// line starting with a byte-order mark that a rewrite moves to the top of the file, as the real
// system does): such inputs are run without the read-back check.

// ctest runs: 400

#include "../common/fresh_tool.h"
#include "app/app_main.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "core/camera_settings.h"
#include "core/control_ids.h"
#include "core/shell_state.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile_cache.h"
#include "printable.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Model {
    const char16_t* name;
    bool fullHd; // the vendor's formats up to 1920 x 1080, else only 320 x 240 and 160 x 120
};

// Three of four models stream small frames, so that an input that starts the preview costs little.
const Model kModels[] = {{u"Parvanex Cam 1", false},
                         {u"Parvanex Cam 2", false},
                         {u"Parvanex HD Pro 1080 with a rather long friendly name", false},
                         {u"Parvanex Cam 1", true}};

sim::SimCamera CameraOf(const Model& model) {
    sim::SimCamera camera = sim::VendorCamera(model.name);
    if (!model.fullHd) {
        const platform::Guid rgb24 = camera.current.subtype;
        camera.capabilities = {{rgb24, 320, 240}, {rgb24, 160, 120}};
        camera.current = {rgb24, 160, 120};
    }
    return camera;
}

struct Setup {
    int cameras;
    int firstModel, secondModel;
    bool longDirectory;
    bool checkKeptParse;
};

Setup SetupOf(uint8_t byte) {
    return {1 + (byte & 1), (byte >> 1) & 3, (byte >> 3) & 3, (byte & 0x20) != 0,
            (byte & 0x40) != 0};
}

void AttachCameras(const Setup& setup) {
    sim::CheckParsedProfile(setup.checkKeptParse);
    sim::AddCamera(CameraOf(kModels[setup.firstModel]));
    if (setup.cameras == 2)
        sim::AddCamera(CameraOf(kModels[setup.secondModel]));
    if (setup.longDirectory)
        sim::Files().currentDirectory = "C:\\" + std::string(250, 'd');
}

std::string IniPath() {
    return sim::Files().currentDirectory + "\\Framewright.ini";
}

std::string Ini() {
    const std::string* file = sim::FindFile(IniPath());
    return file ? *file : std::string();
}

// Start-up and the message loop until the tool waits for input; false when the process ended
// (configuration changed, InitAndExit, a capture that ends the tool) or the window is gone.
bool Start() {
    try {
        AppMain(nullptr);
    } catch (const sim::ProcessExit&) {
        return false;
    }
    return sim::MainWindow() != nullptr;
}

bool SaveButtonClicked() {
    const sim::WindowRecord* button = sim::Control(IDC_BTSAVE);
    if (!button || !button->enabled)
        return false;
    sim::Click(IDC_BTSAVE);
    return true;
}

int EncodingOf(const std::string& bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return 1;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0)
        return 2;
    if (bytes.compare(0, 2, "\xFE\xFF") == 0)
        return 3;
    return 0;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos)
            end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

[[noreturn]] void FailReadBack(const std::string& saved, const std::string& resaved) {
    const std::vector<std::string> a = Lines(saved), b = Lines(resaved);
    size_t line = 0;
    while (line < a.size() && line < b.size() && a[line] == b[line])
        ++line;
    std::fprintf(stderr,
                 "startup_fuzz: a value saved did not read back at the next start, so the next "
                 "save changed the file (line %zu)\n  expected: \"%s\"\n  got:      \"%s\"\n",
                 line + 1, line < a.size() ? Printable(a[line]).c_str() : "<end of file>",
                 line < b.size() ? Printable(b[line]).c_str() : "<end of file>");
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const Setup setup = SetupOf(data[0]);
    const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);

    FreshTool();
    AttachCameras(setup);
    sim::Files().files[IniPath()] = file;
    const bool running = Start();
    const std::string started = Ini();
    const bool savedOnce = running && SaveButtonClicked();
    const std::string saved = Ini();
    if (!savedOnce) {
        RestartTool(); // nothing of this input stays allocated into the next
        return 0;
    }

    RestartTool();
    AttachCameras(setup);
    sim::Files().files[IniPath()] = saved;
    const bool runningAgain = Start();
    const std::string loaded = Ini();
    if (runningAgain && SaveButtonClicked()) {
        const std::string resaved = Ini();
        const bool sameEncoding = EncodingOf(started) == EncodingOf(saved) &&
                                  EncodingOf(saved) == EncodingOf(loaded) &&
                                  EncodingOf(loaded) == EncodingOf(resaved);
        if (sameEncoding && resaved != loaded)
            FailReadBack(loaded, resaved);
    }
    RestartTool();
    return 0;
}
