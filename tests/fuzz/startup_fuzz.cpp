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
#include "fuzz_check.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile_cache.h"
#include "platform/sim/sim_profile_text.h"

#include <algorithm>
#include <cstdint>
#include <string>

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

// The set-up the first input byte chooses (see the top).
void AttachCameras(uint8_t setup) {
    sim::CheckParsedProfile((setup & 0x40) != 0);
    sim::AddCamera(CameraOf(kModels[(setup >> 1) & 3]));
    if (setup & 1)
        sim::AddCamera(CameraOf(kModels[(setup >> 3) & 3]));
    if (setup & 0x20)
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

// One process: the cameras of the set-up, the file, start-up and, when the tool waits with the
// button enabled, "Save Settings". Gives the file after start-up and after the save; true when it
// was saved. Nothing of the process stays allocated into the next.
bool StartAndSave(uint8_t setup, const std::string& file, std::string* started,
                  std::string* saved) {
    AttachCameras(setup);
    sim::Files().files[IniPath()] = file;
    const bool running = Start();
    *started = Ini();
    const bool didSave = running && SaveButtonClicked();
    *saved = Ini();
    RestartTool();
    return didSave;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t setup = data[0];
    const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
    FreshTool();
    std::string started, saved, loaded, resaved;
    if (StartAndSave(setup, file, &started, &saved) &&
        StartAndSave(setup, saved, &loaded, &resaved)) {
        const auto encoding = sim::EncodingOf(started);
        if (sim::EncodingOf(saved) == encoding && sim::EncodingOf(loaded) == encoding &&
            sim::EncodingOf(resaved) == encoding) {
            // The message shows both files from the start of the first line that differs.
            const size_t at =
                std::mismatch(loaded.begin(), loaded.end(), resaved.begin(), resaved.end()).first -
                loaded.begin();
            const size_t line = at == 0 ? 0 : loaded.find_last_of('\n', at - 1) + 1;
            CHECK_SAME("a value saved did not read back at the next start, so the next save "
                       "changed the file",
                       loaded.substr(line, at - line + 60), resaved.substr(line, at - line + 60));
        }
    }
    return 0;
}
