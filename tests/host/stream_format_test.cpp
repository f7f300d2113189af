// The format asked of the camera's capture pin: the frame time, width and height land where the
// pin's format type keeps them, a block of another type is left alone, and the caps records are
// read in the size the pin reports.
#include "fixture.h"

#include "camera/preview_graph.h"
#include "platform/sim/sim_graph.h"

#include <cstring>

namespace {

constexpr platform::Guid kFormatOther = { // a format type that is no video-info block
    0xE06D80E3,
    0xDB46,
    0x11CF,
    {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};

int32_t Int32At(const std::vector<uint8_t>& block, uint32_t offset) {
    int32_t value = 0;
    std::memcpy(&value, block.data() + offset, sizeof value);
    return value;
}

int64_t Int64At(const std::vector<uint8_t>& block, uint32_t offset) {
    int64_t value = 0;
    std::memcpy(&value, block.data() + offset, sizeof value);
    return value;
}

class StreamFormatTest : public SimTest {
  protected:
    // A camera whose capabilities and current format all have the given format type.
    void StartWithFormatType(const platform::Guid& formatType) {
        sim::SimCamera c = sim::VendorCamera(u"Parvanex Cam 1");
        for (sim::SimCapability& capability : c.capabilities)
            capability.formatType = formatType;
        c.current.formatType = formatType;
        camera = sim::AddCamera(c);
        ASSERT_EQ(Start(), sim::kLoopIdle);
    }
    int camera = 0;
};

TEST_F(StreamFormatTest, EachVideoInfoBlockGetsSizeAndRateInItsOwnFieldsAndNothingElse) {
    const struct {
        const char* what;
        platform::Guid formatType;
        uint32_t size, widthOffset; // the height follows the width
    } layouts[] = {
        {"video-info", platform::kFormatVideoInfo, platform::kVideoInfoSize,
         platform::kBitmapWidthOffset},
        {"second video-info", platform::kFormatVideoInfo2, platform::kVideoInfo2Size,
         platform::kVideoInfo2BitmapWidthOffset},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.what);
        Restart();
        StartWithFormatType(layout.formatType);
        sim::Click(IDC_BTPREVW);
        const auto& requests = sim::Graph().formatRequests;
        ASSERT_EQ(requests.size(), 2u); // 1920x1080 listed compressed, then RGB24
        // Each request starts from the pin's current format: 640x480, then what the first one set.
        const std::vector<uint8_t> blocks[] = {sim::FormatBlock(layout.formatType, 640, 480),
                                               sim::FormatBlock(layout.formatType, 1920, 1080)};
        for (size_t i = 0; i < requests.size(); ++i) {
            const sim::FormatRequest& r = requests[i];
            ASSERT_EQ(r.format.size(), layout.size);
            EXPECT_TRUE(platform::SameGuid(r.formatType, layout.formatType));
            EXPECT_EQ(Int32At(r.format, layout.widthOffset), 1920);
            EXPECT_EQ(Int32At(r.format, layout.widthOffset + 4), 1080);
            EXPECT_EQ(Int64At(r.format, platform::kAvgTimePerFrameOffset), 333333);
            EXPECT_EQ(r.width, 1920);
            EXPECT_EQ(r.height, 1080);
            EXPECT_EQ(r.avgTimePerFrame, 333333);
            // Everything else (copy protection, aspect ratio, interlacing of the second block)
            // stays as the pin reported it.
            std::vector<uint8_t> expected = blocks[i];
            std::memcpy(expected.data() + platform::kAvgTimePerFrameOffset,
                        r.format.data() + platform::kAvgTimePerFrameOffset, 8);
            std::memcpy(expected.data() + layout.widthOffset, r.format.data() + layout.widthOffset,
                        8);
            EXPECT_EQ(r.format, expected);
        }
        EXPECT_EQ(sim::Camera(camera).current.width, 1920);
        EXPECT_EQ(sim::Camera(camera).current.height, 1080);
    }
}

TEST_F(StreamFormatTest, ABlockOfAnotherFormatTypeIsLeftAsThePinReportedIt) {
    StartWithFormatType(kFormatOther);
    sim::Click(IDC_BTPREVW);
    const auto& requests = sim::Graph().formatRequests;
    ASSERT_EQ(requests.size(), 2u);
    for (const sim::FormatRequest& r : requests) {
        EXPECT_EQ(r.format, sim::FormatBlock(kFormatOther, 640, 480));
        EXPECT_TRUE(platform::SameGuid(r.subtype, platform::kMediaSubtypeRgb24));
    }
}

TEST_F(StreamFormatTest, CapsRecordsAreReadInTheSizeThePinReports) {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex Cam 1");
    c.capsSize = 4096; // a pin with a longer caps record than the video one
    camera = sim::AddCamera(c);
    ASSERT_EQ(Start(), sim::kLoopIdle);
    sim::Click(IDC_BTPREVW);
    EXPECT_EQ(sim::Graph().formatRequests.size(), 2u);
    EXPECT_EQ(sim::Camera(camera).current.width, 1920);
}

} // namespace
