// USB churn: a thousand device notices with cameras coming and going between them, the preview
// running, stopped or absent, and a camera switch now and then. After every notice the panel must
// show what the rescan makes of the cameras attached, and nothing may pile up: every reference the
// platform has outstanding is one the tool holds in a field. After Exit nothing is left at all.
#include "fixture.h"
#include "object_counts.h"

#include "platform/constants.h"
#include "platform/sim/sim_graph.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kDevices = 7; // one more than the panel can show
constexpr int kNotices = 1000;
constexpr uint32_t kSeed = 20261207;

const char* const kNames[kDevices] = {
    "Parvanex Churn A", "Parvanex Churn B", "Parvanex Churn C", "Parvanex Churn D",
    "Parvanex Churn E", "Parvanex Churn E", // two of the same model: equal names
    "Parvanex Churn G",
};

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

class UsbChurnTest : public SimTest {
  protected:
    // The names of the attached cameras in the platform's order.
    std::vector<std::string> Attached() {
        std::vector<std::string> names;
        for (int i = 0; i < kDevices; ++i)
            if (sim::Camera(i).plugged)
                names.push_back(kNames[i]);
        return names;
    }

    static std::string Label(int slot, const std::string& name) {
        return "Camera " + std::to_string(slot + 1) + ": " + name;
    }

    // The panel as the rescan leaves it for the attached cameras.
    void ExpectRescanned(int notice) {
        const std::vector<std::string> names = Attached();
        const int shown = static_cast<int>(std::min<size_t>(names.size(), 6));
        SCOPED_TRACE("notice " + std::to_string(notice) + " with " + std::to_string(names.size()) +
                     " cameras");
        EXPECT_EQ(Shell.camerasFound, shown);
        EXPECT_EQ(Shell.selectedCamera, shown ? 0 : -1);
        for (int slot = 0; slot < 6; ++slot) {
            const sim::WindowRecord* button = sim::Control(CameraButtonOf(slot));
            EXPECT_EQ(button->visible, slot < shown) << "button of slot " << slot;
            EXPECT_EQ(button->check, slot == 0 && shown ? 1 : 0) << "button of slot " << slot;
            if (slot < shown) {
                EXPECT_EQ(button->text, Label(slot, names[slot]));
            }
        }
        EXPECT_EQ(sim::Control(IDC_SBSTATUS)->text,
                  shown ? Label(shown - 1, names[shown - 1])
                        : "No Parvanex Camera detected, please attach a Parvanex Webcam");
        EXPECT_EQ(sim::Control(IDC_BTPREVW)->enabled, shown > 0);
        EXPECT_TRUE(sim::Control(IDC_BTEXIT)->enabled);
        EXPECT_EQ(sim::Control(IDC_BTPREVW)->text, PreviewState() == 2 ? "Stop" : "Preview");
        for (int slot = 0; slot < shown; ++slot)
            EXPECT_NE(CaptureFilters[slot], nullptr) << "slot " << slot;
        // A graph may outlive a notice, but not the camera it shows.
        if (PreviewGraph.Control) {
            ASSERT_NE(PreviewGraph.Camera, nullptr);
            EXPECT_FALSE(sim::FilterDeviceGone(PreviewGraph.Camera));
        }
    }

    // A random operator step between notices: preview on or off, a camera switch, or nothing.
    void OperatorStep(std::mt19937& random) {
        if (Shell.selectedCamera < 0)
            return;
        switch (random() % 6) {
        case 0:
        case 1:
            sim::Click(IDC_BTPREVW);
            break;
        case 2: {
            const int slot = static_cast<int>(random() % Shell.camerasFound);
            sim::Click(CameraButtonOf(slot));
            ++switches;
            EXPECT_EQ(Shell.selectedCamera, slot);
            EXPECT_EQ(sim::Control(IDC_BTPREVW)->text, "Preview");
            break;
        }
        default:
            break;
        }
    }

    int switches = 0;
};

TEST_F(UsbChurnTest, AThousandNoticesLeaveThePanelRightAndNothingBehind) {
    for (int i = 0; i < kDevices; ++i) {
        // Small frames keep a thousand preview starts quick; 1920 by 1080 is not offered.
        sim::SimCamera camera = sim::VendorCamera(Wide(kNames[i]));
        camera.capabilities = {camera.current};
        sim::AddCamera(camera);
    }
    std::mt19937 random(kSeed);
    for (int i = 0; i < kDevices; ++i)
        if (random() % 2)
            sim::Unplug(i);
    ASSERT_EQ(Start(), sim::kLoopIdle);

    int mostAttached = 0, fewestAttached = kDevices;
    int runningWhenRemoved = 0, stoppedWhenRemoved = 0, absentWhenRemoved = 0;
    for (int notice = 0; notice < kNotices; ++notice) {
        OperatorStep(random);
        // One to three devices change; now and then a device that is no camera comes or goes.
        bool removed = false, arrived = false;
        const int changes = static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const int device = static_cast<int>(random() % kDevices);
            if (sim::Camera(device).plugged) {
                const bool previewedGoes = PreviewGraph.Control && PreviewGraph.Camera &&
                                           sim::CameraOfFilter(PreviewGraph.Camera) == device;
                const bool selectedGoes =
                    Shell.selectedCamera >= 0 && CaptureFilters[Shell.selectedCamera] &&
                    sim::CameraOfFilter(CaptureFilters[Shell.selectedCamera]) == device;
                if (previewedGoes) {
                    const bool running = PreviewState() == 2;
                    runningWhenRemoved += running;
                    stoppedWhenRemoved += !running;
                } else if (selectedGoes && !PreviewGraph.Control) {
                    ++absentWhenRemoved;
                }
                sim::Unplug(device, random() % 2 == 0);
                removed = true;
            } else {
                sim::Plug(device);
                arrived = true;
            }
        }
        if (!removed && !arrived)
            (random() % 2 ? removed : arrived) = true; // another kind of USB device
        if (random() % 8 == 0)
            OperatorStep(random); // the operator acts before the notice arrives
        const size_t attached = Attached().size();
        mostAttached = std::max(mostAttached, static_cast<int>(attached));
        fewestAttached = std::min(fewestAttached, static_cast<int>(attached));
        sim::SendToMain(
            platform::msg::DeviceChange,
            removed ? platform::dbt::DeviceRemoveComplete : platform::dbt::DeviceArrival, 0);
        ExpectRescanned(notice);
        ASSERT_EQ(Outstanding(), HeldByTheTool()) << "after notice " << notice;
        ASSERT_FALSE(HasFailure()) << "stopped at notice " << notice;
    }
    EXPECT_EQ(mostAttached, kDevices);
    EXPECT_EQ(fewestAttached, 0);
    EXPECT_GT(switches, 50);
    EXPECT_GT(runningWhenRemoved, 5);
    EXPECT_GT(stoppedWhenRemoved + absentWhenRemoved, 5);

    // The way out with every camera back and a preview running: the most there is to release.
    for (int i = 0; i < kDevices; ++i)
        sim::Plug(i);
    sim::SendToMain(platform::msg::DeviceChange, platform::dbt::DeviceArrival, 0);
    ExpectRescanned(kNotices);
    if (PreviewState() != 2)
        sim::Click(IDC_BTPREVW);
    ASSERT_EQ(PreviewState(), 2);
    const ObjectCounts beforeExit = Outstanding();
    ASSERT_EQ(beforeExit, HeldByTheTool());
    sim::Click(IDC_BTEXIT);
    EXPECT_EQ(sim::MainWindow(), nullptr);
    EXPECT_EQ(Outstanding(), NothingOutstanding()) << "held before Exit: " << beforeExit;
}

} // namespace
