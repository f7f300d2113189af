// The format asked of the camera's capture pin: the frame time, width and height land where the
// pin's format type keeps them, a block of another type is left alone, and the caps records are
// read in the size the pin reports; a camera that refuses the request is given an entry of its
// own at the nearest rate it allows, and preview and stills come out at the stored size.
#include "bitmap_checks.h"
#include "fixture.h"

#include "camera/preview_graph.h"
#include "camera/still_capture.h"
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
    // Both requests refused, then the first entry's own type asked for, its block untouched too.
    ASSERT_EQ(requests.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(requests[i].format, sim::FormatBlock(kFormatOther, 640, 480));
        EXPECT_TRUE(platform::SameGuid(requests[i].subtype, platform::kMediaSubtypeRgb24));
    }
    EXPECT_EQ(requests[2].format, sim::FormatBlock(kFormatOther, 1920, 1080));
    EXPECT_TRUE(platform::SameGuid(requests[2].subtype, sim::kSubtypeMjpg));
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

// A camera with only YUY2 at 1920x1080, and that at 5 fps only.
sim::SimCamera Yuy2OnlyCamera() {
    sim::SimCamera c = sim::VendorCamera(u"Parvanex Cam 1");
    c.capabilities = {sim::Yuy2Capability(640, 480, 30, 5), sim::Yuy2Capability(1920, 1080, 5, 5)};
    c.current = c.capabilities[0];
    return c;
}

std::string SubtypeName(const platform::Guid& subtype) {
    if (platform::SameGuid(subtype, platform::kMediaSubtypeRgb24))
        return "RGB24";
    if (platform::SameGuid(subtype, sim::kSubtypeYuy2))
        return "YUY2";
    if (platform::SameGuid(subtype, sim::kSubtypeMjpg))
        return "MJPG";
    return "other";
}

// "RGB24 1920x1080 333333 taken": the subtype, the size, the frame time and the camera's answer.
std::string Describe(const sim::FormatRequest& r) {
    return SubtypeName(r.subtype) + " " + std::to_string(r.width) + "x" + std::to_string(r.height) +
           " " + std::to_string(r.avgTimePerFrame) +
           (platform::Failed(r.result) ? " refused" : " taken");
}

TEST_F(StreamFormatTest, ARefusedRequestFallsBackToTheCamerasOwnEntryAtTheNearestRate) {
    const struct {
        const char* what;
        sim::SimCamera camera;
        int32_t width, height; // stored; 0 asks for the default 1920x1080
        std::vector<std::string> asked;
        int32_t streamed[2]; // the camera's size after the build, and so the grabber's and stills'
        const char* through;
    } cases[] = {
        {"an RGB24 camera: the requests of today, both taken",
         sim::VendorCamera(u"Parvanex Cam 1"),
         0,
         0,
         {"RGB24 1920x1080 333333 taken", "RGB24 1920x1080 333333 taken"},
         {1920, 1080},
         ""},
        {"a webcam: both requests refused, then its MJPG entry, whose rate comes nearest",
         sim::UvcCamera(u"Parvanex Cam 1"),
         0,
         0,
         {"RGB24 1920x1080 333333 refused", "RGB24 1920x1080 333333 refused",
          "MJPG 1920x1080 333333 taken"},
         {1920, 1080},
         "MJPEG Decompressor"},
        {"YUY2 only: its entry at the 5 fps it allows",
         Yuy2OnlyCamera(),
         0,
         0,
         {"RGB24 1920x1080 333333 refused", "YUY2 1920x1080 2000000 taken"},
         {1920, 1080},
         "AVI Decompressor"},
        {"a size no entry lists: nothing asked, the current format stays",
         sim::UvcCamera(u"Parvanex Cam 1"),
         800,
         600,
         {},
         {640, 480},
         "AVI Decompressor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        camera = sim::AddCamera(c.camera);
        WriteIni("[General]\r\nImageSavePath=C:\\shot.bmp\r\n");
        ASSERT_EQ(Start(), sim::kLoopIdle);
        CameraRecords[0].ResolutionX = c.width;
        CameraRecords[0].ResolutionY = c.height;
        sim::Click(IDC_BTPREVW);
        std::vector<std::string> asked;
        for (const sim::FormatRequest& r : sim::Graph().formatRequests)
            asked.push_back(Describe(r));
        EXPECT_EQ(asked, c.asked);
        // The record keeps the size asked for (the default when none was stored).
        EXPECT_EQ(CameraRecords[0].ResolutionX, c.width ? c.width : 1920);
        EXPECT_EQ(CameraRecords[0].ResolutionY, c.height ? c.height : 1080);
        const sim::SimCapability& current = sim::Camera(camera).current;
        EXPECT_EQ(current.width, c.streamed[0]);
        EXPECT_EQ(current.height, c.streamed[1]);
        // The grabber is connected in RGB24 at the camera's size, and its frames have that size.
        EXPECT_EQ(sim::Graph().connectedThrough, c.through);
        ASSERT_EQ(sim::Graph().state, 2);
        const std::vector<uint8_t>& connected = sim::Graph().connectedFormat;
        ASSERT_EQ(connected.size(), platform::kVideoInfoSize);
        EXPECT_EQ(Int32At(connected, platform::kBitmapWidthOffset), c.streamed[0]);
        EXPECT_EQ(Int32At(connected, platform::kBitmapHeightOffset), c.streamed[1]);
        EXPECT_EQ(CaptureStill(), platform::kOk);
        EXPECT_EQ(BitmapSize("C:\\shot.bmp"),
                  std::to_string(c.streamed[0]) + "x" + std::to_string(c.streamed[1]));
    }
}

TEST_F(StreamFormatTest, TheFallbackRateIsClampedIntoTheEntrysRange) {
    const struct {
        int fastest, slowest; // of the only 1920x1080 entry, in frames per second
        int64_t given;
    } cases[] = {{60, 50, 200000}, {15, 5, 666666}, {30, 5, 333333}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fastest);
        Restart();
        sim::SimCamera uvc = sim::UvcCamera(u"Parvanex Cam 1");
        uvc.capabilities = {uvc.capabilities[0],
                            sim::MjpgCapability(1920, 1080, c.fastest, c.slowest)};
        camera = sim::AddCamera(uvc);
        ASSERT_EQ(Start(), sim::kLoopIdle);
        sim::Click(IDC_BTPREVW);
        const auto& requests = sim::Graph().formatRequests;
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[1].avgTimePerFrame, c.given);
        EXPECT_EQ(requests[1].result, platform::kOk);
    }
}

} // namespace
