// The still capture writes an image only when the connected media type and the buffered frame
// agree; any disagreement gives VFW_E_INVALIDMEDIATYPE, no file and an untouched counter.
#include "fixture.h"

#include "camera/still_capture.h"
#include "core/settings_path.h"
#include "platform/sim/sim_graph.h"
#include "settings/settings_file.h"

#include <cstring>
#include <functional>

namespace {

constexpr const char* kImage = "C:\\work\\still.bmp";

void Put32(std::vector<uint8_t>& block, size_t offset, uint32_t value) {
    std::memcpy(block.data() + offset, &value, 4);
}
void Put16(std::vector<uint8_t>& block, size_t offset, uint16_t value) {
    std::memcpy(block.data() + offset, &value, 2);
}

// The bitmap header fields inside the format block.
constexpr size_t kSize = 48, kWidth = 52, kHeight = 56, kPlanes = 60, kBits = 62, kCompression = 64,
                 kColoursUsed = 80;

struct Frame {
    platform::Guid formatType = platform::kFormatVideoInfo;
    std::vector<uint8_t> block = sim::VideoInfoBlock(640, 480);
    std::vector<uint8_t> sample = std::vector<uint8_t>(640 * 480 * 3, 7);
};

struct Case {
    const char* what;
    std::function<void(Frame&)> change;
    bool agrees;
};

const Case kCases[] = {
    {"RGB24 640x480 as connected", [](Frame&) {}, true},
    {"top-down rows (negative height)",
     [](Frame& f) { Put32(f.block, kHeight, static_cast<uint32_t>(-480)); }, true},
    {"a width whose rows need padding (641 * 3 = 1923 -> 1924)",
     [](Frame& f) {
         Put32(f.block, kWidth, 641);
         f.sample.assign(1924 * 480, 1);
     },
     true},
    {"32 bits with three masks in the block",
     [](Frame& f) {
         Put16(f.block, kBits, 32);
         Put32(f.block, kCompression, 3);
         f.block.resize(100);
         f.sample.assign(640 * 480 * 4, 1);
     },
     true},
    {"8 bits with a full palette",
     [](Frame& f) {
         Put16(f.block, kBits, 8);
         f.block.resize(88 + 1024);
         f.sample.assign(640 * 480, 1);
     },
     true},
    {"a format type other than video-info", [](Frame& f) { f.formatType = platform::kNullGuid; },
     false},
    {"a format block of 87 bytes", [](Frame& f) { f.block.resize(87); }, false},
    {"no format block at all", [](Frame& f) { f.block.clear(); }, false},
    {"a header size below 40", [](Frame& f) { Put32(f.block, kSize, 39); }, false},
    {"a header size beyond the block", [](Frame& f) { Put32(f.block, kSize, 41); }, false},
    {"width 0", [](Frame& f) { Put32(f.block, kWidth, 0); }, false},
    {"negative width", [](Frame& f) { Put32(f.block, kWidth, static_cast<uint32_t>(-640)); },
     false},
    {"height 0", [](Frame& f) { Put32(f.block, kHeight, 0); }, false},
    {"height INT32_MIN", [](Frame& f) { Put32(f.block, kHeight, 0x80000000u); }, false},
    {"two planes", [](Frame& f) { Put16(f.block, kPlanes, 2); }, false},
    {"bit count 0", [](Frame& f) { Put16(f.block, kBits, 0); }, false},
    {"bit count 12", [](Frame& f) { Put16(f.block, kBits, 12); }, false},
    {"a compressed format (RLE8)", [](Frame& f) { Put32(f.block, kCompression, 1); }, false},
    {"masks on a 24-bit format", [](Frame& f) { Put32(f.block, kCompression, 3); }, false},
    {"32 bits with masks missing from the block",
     [](Frame& f) {
         Put16(f.block, kBits, 32);
         Put32(f.block, kCompression, 3);
         f.sample.assign(640 * 480 * 4, 1);
     },
     false},
    {"8 bits without its palette",
     [](Frame& f) {
         Put16(f.block, kBits, 8);
         f.sample.assign(640 * 480, 1);
     },
     false},
    {"8 bits using more colours than 256",
     [](Frame& f) {
         Put16(f.block, kBits, 8);
         Put32(f.block, kColoursUsed, 257);
         f.block.resize(88 + 4 * 257);
         f.sample.assign(640 * 480, 1);
     },
     false},
    {"a frame one byte short", [](Frame& f) { f.sample.pop_back(); }, false},
    {"a frame one byte long", [](Frame& f) { f.sample.push_back(0); }, false},
    {"a frame of another size (1280x720 under a 640x480 header)",
     [](Frame& f) { f.sample.assign(1280 * 720 * 3, 1); }, false},
    // 32-bit arithmetic would wrap these to the frame's size: 65536 rows of 65536 pixels at 32
    // bits are 2^34 bytes, and 2^31 - 1 pixels wide at 32 bits is 2^33 bytes a row.
    {"a header whose 32-bit image size wraps to the frame's",
     [](Frame& f) {
         Put32(f.block, kWidth, 65536);
         Put32(f.block, kHeight, 65537);
         Put16(f.block, kBits, 32);
         f.sample.assign(65536 * 4, 1);
     },
     false},
    {"the widest header", [](Frame& f) { Put32(f.block, kWidth, 0x7FFFFFFF); }, false},
};

class FrameFormatTest : public SimTest {};

TEST_F(FrameFormatTest, AnImageIsWrittenOnlyWhenTheHeaderAndTheFrameAgree) {
    for (const char* options : {"", "IncrementImageName=1\r\nImageCounter=0\r\n"}) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(c.what) + (options[0] ? ", counted" : ", fixed"));
            Restart();
            WriteIni(std::string("[General]\r\nImageSavePath=") + kImage + "\r\n" + options);
            ComputeSettingsPath();
            General.IncrementImageName = options[0] ? 1 : 0;
            Frame frame;
            c.change(frame);
            PreviewGraph.Grabber =
                sim::InjectGrabberFrame(frame.formatType, frame.block, frame.sample);
            const std::string iniBefore = Ini();
            const platform::HResult result = CaptureStill();
            const std::string image = options[0] ? "C:\\work\\still000001.bmp" : kImage;
            const std::string* file = sim::FindFile(image);
            if (c.agrees) {
                EXPECT_EQ(result, platform::kOk);
                ASSERT_NE(file, nullptr);
                EXPECT_EQ(file->size(), 14 + frame.block.size() - 48 + frame.sample.size());
                EXPECT_EQ(file->substr(file->size() - frame.sample.size()),
                          std::string(frame.sample.begin(), frame.sample.end()));
            } else {
                EXPECT_EQ(result, platform::kInvalidMediaType);
                EXPECT_EQ(file, nullptr);
                EXPECT_EQ(sim::Files().files.size(), 1u);
                EXPECT_EQ(General.ImageCounter, 0);
                EXPECT_EQ(Ini(), iniBefore);
            }
            platform::Release(PreviewGraph.Grabber);
            PreviewGraph.Grabber = nullptr;
        }
    }
}

} // namespace
