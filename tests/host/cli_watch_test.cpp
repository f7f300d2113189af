// watch over the simulated desktop: the sections applied at start, on an arrival (also one that
// comes before the camera can be bound) and after a resume; removals reported; drift corrected,
// but not while the window program runs; a refused write named once; a settings file edited while
// it runs; every stop request ending it with code 0. Other processes act at given moments of the
// virtual clock (sim::At).
#include "cli_fixture.h"
#include "core/window_program.h"
#include "platform/constants.h"

namespace {

using sim::At;

class CliWatchTest : public CliTest {
  protected:
    // Two cameras and a file saved from them, with brightness 90 and 70 stored (the cameras hold
    // 128), so that an apply is seen on each.
    void SetUp() override {
        CliTest::SetUp();
        AddVendorCamera(u"Parvanex A");
        AddVendorCamera(u"Parvanex B");
        ASSERT_EQ(Cli({"save"}).code, 0);
        file = Ini();
        Replace(file, "Brightness=128", "Brightness=90");
        Replace(file, "Brightness=128", "Brightness=70");
        WriteIni(file);
        sim::Requests().clear();
    }
    // The watch run until the stop at stopAt (WM_CLOSE to its window); its lines, which must also
    // have been written out as they came.
    static std::vector<std::string> Watch(std::vector<std::string> args, uint64_t stopAt) {
        At(stopAt, [] {
            if (sim::WindowRecord* w = sim::TopLevelOfClass("FramewrightCliWatch"))
                sim::Post(sim::HandleOf(w), platform::msg::Close, 0, 0);
        });
        args.insert(args.begin(), "watch");
        const CliRun run = Cli(args);
        sim::TheDesktop().scheduled.clear(); // what a run stopped earlier left
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, ""); // every line went out at once
        std::vector<std::string> lines;
        const std::string& out = sim::TheDesktop().standardOutput;
        for (size_t from = 0, end; (end = out.find('\n', from)) != std::string::npos;
             from = end + 1)
            lines.push_back(out.substr(from, end - from));
        return lines;
    }
    static void PostToWatch(uint32_t message, uintptr_t wParam = 0) {
        sim::WindowRecord* w = sim::TopLevelOfClass("FramewrightCliWatch");
        ASSERT_NE(w, nullptr) << "no watch window";
        sim::Post(sim::HandleOf(w), message, wParam, 0);
    }
    static int32_t Brightness(int camera) { return sim::Camera(camera).procAmp[0].value; }
    static std::string Applied(int camera, const char* name) {
        return "applied camera=" + std::to_string(camera) + " section=\"Camera" +
               std::to_string(camera - 1) + "\" name=\"" + name + "\"";
    }

    std::string file;
};

std::string Started(int cameras, int verifyEvery) {
    return "started settings=\"C:\\\\work\\\\Framewright.ini\" cameras=" + std::to_string(cameras) +
           " verifyEvery=" + std::to_string(verifyEvery);
}

TEST_F(CliWatchTest, AppliesAtStartAndEveryStopRequestEndsItWithCodeZero) {
    struct Case {
        const char* name;
        void (*stop)();
    } cases[] = {
        {"console stop", [] { EXPECT_TRUE(sim::ConsoleStop()); }},
        {"WM_CLOSE", [] { PostToWatch(platform::msg::Close); }},
        {"WM_ENDSESSION", [] { PostToWatch(platform::msg::EndSession, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteIni(file);
        sim::Camera(0).procAmp[0].value = 128;
        // A session end asked about but not made stops nothing: the resume after it is served.
        At(sim::TheDesktop().now + 5, [] { PostToWatch(platform::msg::QueryEndSession); });
        At(sim::TheDesktop().now + 6,
           [] { PostToWatch(platform::msg::PowerBroadcast, platform::pbt::ResumeAutomatic); });
        At(sim::TheDesktop().now + 10, c.stop);
        sim::TheDesktop().standardOutput.clear();
        const Strings lines = Watch({}, sim::TheDesktop().now + 50);
        const Strings expected = {Started(2, 0), Applied(1, "Parvanex A"), Applied(2, "Parvanex B"),
                                  "resumed",     Applied(1, "Parvanex A"), Applied(2, "Parvanex B"),
                                  "stopped"};
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(Brightness(0), 90);
        EXPECT_EQ(Brightness(1), 70);
        EXPECT_EQ(Ini(), file); // read, never written
    }
    EXPECT_EQ(sim::TheDesktop().consoleStopsServed, 3); // the handler's wait ends every time
}

TEST_F(CliWatchTest, ArrivalsAppliedOnceBoundAndRemovalsReported) {
    const std::u16string path = sim::Camera(1).devicePath;
    std::u16string shouted = path;
    for (char16_t& c : shouted)
        c = c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    sim::Unplug(1);
    uint64_t pluggedAt = 0, lastWriteAt = 0;
    sim::BeforeRequest() = [&](int, sim::Interface, sim::Direction direction, int32_t) {
        if (direction == sim::Direction::Set)
            lastWriteAt = sim::TheDesktop().now;
    };
    // The notice comes before the device can be bound; a microphone's path is no camera of ours.
    At(100, [&] { EXPECT_EQ(sim::CaptureDeviceNotice(platform::dbt::DeviceArrival, shouted), 1); });
    At(120, [] { sim::CaptureDeviceNotice(platform::dbt::DeviceArrival, u"\\\\?\\mic#1"); });
    At(400, [&] {
        sim::Plug(1);
        pluggedAt = sim::TheDesktop().now;
    });
    At(600, [&] {
        EXPECT_EQ(Brightness(1), 70);
        EXPECT_LE(lastWriteAt - pluggedAt, 50u) << "the section within a retry of the binding";
        sim::Camera(1).procAmp[0].value = 128;
        sim::Unplug(1);
        sim::CaptureDeviceNotice(platform::dbt::DeviceRemoveComplete, path);
        sim::CaptureDeviceNotice(platform::dbt::DeviceRemoveComplete, u"\\\\?\\mic#1");
    });
    const Strings lines = Watch({}, 8000);
    const Strings expected = {Started(1, 0),
                              Applied(1, "Parvanex A"),
                              "arrived camera=2 name=\"Parvanex B\"",
                              Applied(2, "Parvanex B"),
                              "removed camera=2 name=\"Parvanex B\"",
                              "stopped"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Brightness(1), 128); // nothing written after the removal
    sim::BeforeRequest() = nullptr;
}

TEST_F(CliWatchTest, DriftCorrectedOnlyWhileTheWindowProgramIsNotRunning) {
    sim::WindowRecord* windowProgram = nullptr;
    At(500, [&] {
        sim::Camera(0).procAmp[0].value = 200; // another program's write
        windowProgram = sim::Record(platform::CreateWindowWith(
            0, kWindowProgramClass, "Orvisto Settings", 0, 0, 0, 10, 10, nullptr, 0, nullptr));
    });
    At(1500, [&] {
        EXPECT_EQ(Brightness(0), 200) << "corrected while the window program ran";
        platform::DestroyWindowNow(sim::HandleOf(windowProgram));
    });
    At(2500, [] { sim::Camera(1).procAmp[0].value = 71; });
    const Strings lines = Watch({"--verify-every", "1"}, 3500);
    const Strings expected = {Started(2, 1),
                              Applied(1, "Parvanex A"),
                              Applied(2, "Parvanex B"),
                              "paused reason=\"the window program runs\"",
                              "corrected camera=1 property=\"Brightness\" found=200 stored=90",
                              "corrected camera=2 property=\"Brightness\" found=71 stored=70",
                              "stopped"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Brightness(0), 90);
}

TEST_F(CliWatchTest, RefusedWriteNamedOnceAndEditedFileReadAtTheNextEvent) {
    sim::Reject(0, sim::Interface::ProcAmp, sim::Direction::Set, 0);
    At(1500, [this] {
        Replace(file, "Brightness=70", "Brightness=60");
        Replace(file, "Name=Parvanex A", "Name=Parvanex Other");
        WriteIni(file);
    });
    At(2500, [] { PostToWatch(platform::msg::PowerBroadcast, platform::pbt::ResumeAutomatic); });
    const Strings lines = Watch({"--verify-every", "1", "--json"}, 3500);
    const Strings expected = {
        "{\"event\":\"started\",\"settings\":\"C:\\\\work\\\\Framewright.ini\",\"cameras\":2,"
        "\"verifyEvery\":1}",
        "{\"event\":\"refused\",\"camera\":1,\"property\":\"Brightness\",\"result\":"
        "\"0x80070057\"}",
        "{\"event\":\"applied\",\"camera\":1,\"section\":\"Camera0\",\"name\":\"Parvanex A\"}",
        "{\"event\":\"applied\",\"camera\":2,\"section\":\"Camera1\",\"name\":\"Parvanex B\"}",
        // the read-back at 2 s finds 60 stored for camera 2 (and leaves [Camera0], now another
        // camera's, alone); the apply after the resume names it
        "{\"event\":\"corrected\",\"camera\":2,\"property\":\"Brightness\",\"found\":70,"
        "\"stored\":60}",
        "{\"event\":\"resumed\"}",
        "{\"event\":\"skipped\",\"camera\":1,\"section\":\"Camera0\",\"reason\":\"the section "
        "names another camera\"}",
        "{\"event\":\"applied\",\"camera\":2,\"section\":\"Camera1\",\"name\":\"Parvanex B\"}",
        "{\"event\":\"stopped\"}"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Brightness(0), 128); // refused at start, not asked again by the read-back
}

// Its wrong arguments: CliArgumentsTest's table.
TEST_F(CliWatchTest, AnUnreadableFileEndsItAtOnce) {
    EXPECT_EQ(Cli({"watch", "--settings", "C:\\none.ini"}),
              (CliRun{5, "", "FramewrightCli: cannot read the settings file C:\\none.ini\n"}));
    EXPECT_EQ(sim::TopLevelOfClass("FramewrightCliWatch"), nullptr);
    EXPECT_TRUE(sim::Requests().empty());
}

} // namespace
