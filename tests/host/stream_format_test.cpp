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

TEST_F(StreamFormatTest, ASecondVideoInfoBlockGetsSizeAndRateInItsOwnFields) {
    StartWithFormatType(platform::kFormatVideoInfo2);
    sim::Click(IDC_BTPREVW);
    const auto& requests = sim::Graph().formatRequests;
    ASSERT_EQ(requests.size(), 2u); // 1920x1080 listed compressed, then RGB24
    // Each request starts from the pin's current format: 640x480, then what the first one set.
    const std::vector<uint8_t> blocks[] = {
        sim::FormatBlock(platform::kFormatVideoInfo2, 640, 480),
        sim::FormatBlock(platform::kFormatVideoInfo2, 1920, 1080)};
    for (size_t i = 0; i < requests.size(); ++i) {
        const sim::FormatRequest& r = requests[i];
        const std::vector<uint8_t>& before = blocks[i];
        ASSERT_EQ(r.format.size(), platform::kVideoInfo2Size);
        EXPECT_TRUE(platform::SameGuid(r.formatType, platform::kFormatVideoInfo2));
        EXPECT_EQ(r.width, 1920);
        EXPECT_EQ(r.height, 1080);
        EXPECT_EQ(r.avgTimePerFrame, 333333);
        // Copy protection, aspect ratio and interlacing stay as the pin reported them.
        for (uint32_t offset :
             {platform::kVideoInfo2InterlaceOffset, platform::kVideoInfo2CopyProtectOffset,
              platform::kVideoInfo2AspectXOffset, platform::kVideoInfo2AspectYOffset})
            EXPECT_EQ(Int32At(r.format, offset), Int32At(before, offset)) << "offset " << offset;
        // Nothing else in the block changed either.
        std::vector<uint8_t> expected = before;
        std::memcpy(expected.data() + platform::kAvgTimePerFrameOffset,
                    r.format.data() + platform::kAvgTimePerFrameOffset, 8);
        std::memcpy(expected.data() + platform::kVideoInfo2BitmapWidthOffset,
                    r.format.data() + platform::kVideoInfo2BitmapWidthOffset, 8);
        EXPECT_EQ(r.format, expected);
    }
    EXPECT_EQ(sim::Camera(camera).current.width, 1920);
    EXPECT_EQ(sim::Camera(camera).current.height, 1080);
}

TEST_F(StreamFormatTest, AVideoInfoBlockKeepsItsLayout) {
    StartWithFormatType(platform::kFormatVideoInfo);
    sim::Click(IDC_BTPREVW);
    const auto& requests = sim::Graph().formatRequests;
    ASSERT_EQ(requests.size(), 2u);
    const sim::FormatRequest& r = requests.back();
    ASSERT_EQ(r.format.size(), platform::kVideoInfoSize);
    EXPECT_EQ(Int32At(r.format, platform::kBitmapWidthOffset), 1920);
    EXPECT_EQ(Int32At(r.format, platform::kBitmapHeightOffset), 1080);
    EXPECT_EQ(Int64At(r.format, platform::kAvgTimePerFrameOffset), 333333);
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
