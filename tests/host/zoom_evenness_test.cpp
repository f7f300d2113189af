// The zoom of a stored record reaches the camera as an even value: an odd one is raised by one,
// and the extremes of the 32-bit range do not overflow on the way.
#include "fixture.h"

#include "request_log.h"

#include <cstdint>
#include <limits>

namespace {

class ZoomEvennessTest : public SimTest {};

TEST_F(ZoomEvennessTest, StoredZoomIsAppliedEvenAcrossTheWholeRange) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const struct {
        const char* stored;
        int32_t applied;
    } cases[] = {
        {"100", 100},
        {"151", 152},
        {"399", 400},
        {"0", 0},
        {"-1", 0}, // not stored: odd, so 0
        {"-3", -2},
        {"2147483646", kMax - 1},
        {"2147483647", kMax - 1}, // no even value above: the one below
        {"-2147483647", kMin + 2},
        {"-2147483648", kMin},
        {"0x7fffffff", kMax - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Restart();
        StartWithCamera(std::string("[General]\r\nNumberOfCameras=1\r\n[Camera0]\r\nName="
                                    "Parvanex Cam 1\r\nZoom=") +
                        c.stored + "\r\n");
        EXPECT_EQ(CameraRecords[0].Zoom, c.applied);
        std::vector<sim::Request> writes;
        for (const sim::Request& r : sim::RequestsOf(sim::Interface::Vendor, 3))
            if (r.direction == sim::Direction::Set)
                writes.push_back(r);
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0].data, (std::vector<int32_t>{0, 0, 0, c.applied}));
    }
}

TEST_F(ZoomEvennessTest, TheSliderSendsEvenValues) {
    AddVendorCamera();
    ASSERT_EQ(Start(), sim::kLoopIdle);
    for (int position : {101, 151, 250, 399}) {
        sim::Requests().clear();
        sim::MoveSlider(IDC_TBZOOM, position);
        const int32_t expected = position % 2 ? position + 1 : position;
        EXPECT_EQ(CameraRecords[0].Zoom, expected);
        EXPECT_EQ(sim::Control(IDC_SBSTATUS)->text, "Zoom Value: " + std::to_string(expected));
        EXPECT_EQ(TakeRequests(), (Strings{"vendor set 3 0 0 0 " + std::to_string(expected)}));
    }
}

} // namespace
