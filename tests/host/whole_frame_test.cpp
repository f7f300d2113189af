// A sample holds a whole frame when it has every padded row of the connected uncompressed format.
#include "camera/whole_frame.h"

#include "platform/sim/sim_graph.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct WholeFrameCase {
    const char* what;
    int32_t width;
    int32_t height;
    uint16_t bits;
    uint32_t compression;
    int32_t sampleSize;
    bool whole;
};

class WholeFrameTest : public ::testing::TestWithParam<WholeFrameCase> {};

TEST_P(WholeFrameTest, ComparesTheSampleWithThePaddedRows) {
    const WholeFrameCase& c = GetParam();
    std::vector<uint8_t> block = sim::VideoInfoBlock(c.width, c.height);
    std::memcpy(block.data() + platform::kBitmapInfoOffset + 14, &c.bits, 2);
    std::memcpy(block.data() + platform::kBitmapInfoOffset + 16, &c.compression, 4);
    platform::MediaType type{};
    type.formatType = platform::kFormatVideoInfo;
    type.formatSize = static_cast<uint32_t>(block.size());
    type.format = block.data();
    EXPECT_EQ(HoldsWholeFrame(type, c.sampleSize), c.whole) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WholeFrameTest,
    ::testing::Values(
        WholeFrameCase{"1080p RGB24, all rows", 1920, 1080, 24, 0, 6220800, true},
        WholeFrameCase{"1080p RGB24, half the rows", 1920, 1080, 24, 0, 3110400, false},
        WholeFrameCase{"1080p RGB24, one byte short", 1920, 1080, 24, 0, 6220799, false},
        WholeFrameCase{"odd width: rows padded to 4 bytes", 3, 2, 24, 0, 24, true},
        WholeFrameCase{"odd width: unpadded rows are short", 3, 2, 24, 0, 18, false},
        WholeFrameCase{"top-down frame (negative height)", 640, -480, 24, 0, 921600, true},
        WholeFrameCase{"top-down frame cut short", 640, -480, 24, 0, 921599, false},
        WholeFrameCase{"32-bit bit fields", 640, 480, 32, 3, 1228800, true},
        WholeFrameCase{"a compressed frame cannot be measured", 640, 480, 24, 0x47504A4D, 1000,
                       true}));

TEST(WholeFrameFormats, WithoutAVideoInfoBlockNothingCanBeMeasured) {
    platform::MediaType type{};
    EXPECT_TRUE(HoldsWholeFrame(type, 1)); // no format type, no block
    std::vector<uint8_t> shortBlock(40, 0);
    type.formatType = platform::kFormatVideoInfo;
    type.formatSize = static_cast<uint32_t>(shortBlock.size());
    type.format = shortBlock.data();
    EXPECT_TRUE(HoldsWholeFrame(type, 1)); // too small to be a video-info block
}

} // namespace
