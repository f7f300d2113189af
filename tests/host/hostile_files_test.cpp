// Captures against hostile files and folders: a settings file that is read-only or locked, an
// image folder that is missing, read-only or full, a drive that does not exist, and save paths of
// every awkward length. Whatever happens: no crash, the image that stood at the path stays intact
// unless a new one replaced it whole, no temporary file stays behind, and nothing in the settings
// file changes but the counter of a capture that succeeded.
#include "fixture.h"

#include "camera/preview_graph.h"
#include "camera/still_capture.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/sim/sim_graph.h"

#include <functional>

namespace {

constexpr uint32_t kFrameFileSize = 14 + 40 + 1920 * 1080 * 3;
constexpr platform::HResult kPathNotFound = static_cast<platform::HResult>(0x80070003u);
constexpr platform::HResult kAccessDenied = static_cast<platform::HResult>(0x80070005u);
constexpr platform::HResult kDiskFull = static_cast<platform::HResult>(0x80070070u);

// A path of exactly `length` characters in C:\shots ending in ".bmp".
std::string PathOfLength(size_t length) {
    return "C:\\shots\\" + std::string(length - 13, 'p') + ".bmp";
}

class HostileFilesTest : public SimTest {
  protected:
    void StartPreviewing(bool counted) {
        SimTest::StartPreviewing(
            std::string("[General]\r\nImageSavePath=C:\\shots\\W1X9Image.bmp\r\n") +
            (counted ? "IncrementImageName=1\r\n" : "") +
            "ReviewTimeMs=0\r\n[Camera9]\r\nName=kept\r\n");
    }
    static void SetSavePath(const std::string& path) {
        ASSERT_TRUE(platform::WriteProfileString("General", "ImageSavePath", path.c_str(),
                                                 IniPath().c_str()));
    }
    // The settings file as it should be after a counted capture took the number 1.
    static std::string CountedOnce(std::string ini) {
        Replace(ini, "ImageCounter=0\r\n", "ImageCounter=1\r\n");
        return ini;
    }
};

struct HostileCase {
    const char* what;
    std::string savePath;
    std::function<void()> makeHostile; // after the earlier image was put in place
    platform::HResult fixedResult;     // the result of a capture with a fixed name
    platform::HResult countedResult;   // and with a counted one
    std::string countedImage;          // where a counted capture puts its image
};

std::vector<HostileCase> Cases() {
    auto& fs = sim::Files();
    return {
        {"a read-only settings file", "C:\\shots\\a.bmp",
         [&] { fs.unwritable.insert("C:\\work\\Framewright.ini"); }, platform::kOk, platform::kFail,
         "C:\\shots\\a000001.bmp"},
        // Locked by another program: the path cannot be read, so the capture has none.
        {"a settings file locked by another program", "C:\\shots\\a.bmp",
         [&] { fs.unreadable.insert("C:\\work\\Framewright.ini"); }, kPathNotFound, platform::kFail,
         "C:\\shots\\a000001.bmp"},
        {"a missing image folder", "C:\\gone\\a.bmp", [&] { fs.missingFolders.insert("C:\\gone"); },
         kPathNotFound, kPathNotFound, "C:\\gone\\a000001.bmp"},
        {"a drive that does not exist", "Q:\\a.bmp", [&] { fs.missingFolders.insert("Q:"); },
         kPathNotFound, kPathNotFound, "Q:\\a000001.bmp"},
        {"a read-only image folder", "C:\\shots\\a.bmp", [&] { fs.unwritable.insert("C:\\shots"); },
         kAccessDenied, kAccessDenied, "C:\\shots\\a000001.bmp"},
        {"a read-only image", "C:\\shots\\a.bmp", [&] { fs.unwritable.insert("C:\\shots\\a.bmp"); },
         kAccessDenied, platform::kOk, "C:\\shots\\a000001.bmp"},
        {"a full disk", "C:\\shots\\a.bmp",
         [&] { fs.capacity = sim::BytesStored() + kFrameFileSize - 1; }, kDiskFull, kDiskFull,
         "C:\\shots\\a000001.bmp"},
        {"a full disk under a 253-character path (short temporary name)", PathOfLength(253),
         [&] { fs.capacity = sim::BytesStored() + kFrameFileSize - 1; }, kDiskFull, kDiskFull,
         PathOfLength(253).substr(0, 249) + "000001.bmp"},
        {"a failed write that leaves no error number", "C:\\shots\\a.bmp",
         [&] {
             fs.failWriteAfter = fs.writesDone + 2; // the header and the info block
             fs.failWriteError = 0;
         },
         platform::kFail, platform::kFail, "C:\\shots\\a000001.bmp"},
        {"an image locked by another program", "C:\\shots\\a.bmp",
         [&] { fs.unreadable.insert("C:\\shots\\a.bmp"); }, kAccessDenied, platform::kOk,
         "C:\\shots\\a000001.bmp"},
    };
}

TEST_F(HostileFilesTest, AFailedCaptureKeepsTheEarlierImageAndEveryOtherSetting) {
    for (bool counted : {false, true}) {
        for (const HostileCase& c : Cases()) {
            SCOPED_TRACE(std::string(c.what) + (counted ? ", counted" : ", fixed"));
            Restart();
            StartPreviewing(counted);
            SetSavePath(c.savePath);
            const std::string target = counted ? c.countedImage : c.savePath;
            sim::Files().files[target] = "earlier image";
            const size_t filesBefore = sim::Files().files.size();
            c.makeHostile();
            const std::string iniBefore = Ini();
            const platform::HResult result = CaptureStill();
            EXPECT_EQ(result, counted ? c.countedResult : c.fixedResult);
            const std::string* image = sim::FindFile(target);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(sim::Files().files.size(), filesBefore); // nothing left over
            if (platform::Failed(result)) {
                EXPECT_EQ(*image, "earlier image");
                EXPECT_EQ(Ini(), iniBefore);
                EXPECT_EQ(General.ImageCounter, 0);
            } else {
                EXPECT_EQ(image->size(), kFrameFileSize);
                EXPECT_EQ(Ini(), counted ? CountedOnce(iniBefore) : iniBefore);
            }
            EXPECT_NE(Ini().find("[Camera9]\r\nName=kept\r\n"), std::string::npos);
        }
    }
}

// The paths of every awkward length: the capture succeeds wherever writing straight to the path
// would, with the crash-safe write wherever a temporary name fits beside it.
TEST_F(HostileFilesTest, SavePathsOfEveryAwkwardLengthFixedAndCounted) {
    const struct {
        std::string savePath;
        platform::HResult fixedResult;
        std::string countedImage; // empty: the counted capture is refused
    } lengths[] = {
        {"", kPathNotFound, ""},                         // no name at all
        {"a.b", platform::kOk, ""},                      // too short to lose four characters
        {"abcd", platform::kOk, "C:\\work\\000001.bmp"}, // all four go: the number alone
        {PathOfLength(251), platform::kOk, PathOfLength(251).substr(0, 247) + "000001.bmp"},
        {PathOfLength(252), platform::kOk, PathOfLength(252).substr(0, 248) + "000001.bmp"},
        {PathOfLength(253), platform::kOk, PathOfLength(253).substr(0, 249) + "000001.bmp"},
        {PathOfLength(254), platform::kOk, ""}, // 250 + 6 + 4 characters exceed the buffer
        // Longer than the capture takes: once cut to 254 characters without a word, and a fixed
        // name then lost its extension.
        {PathOfLength(255), platform::kFail, ""},
        {PathOfLength(256), platform::kFail, ""},
        {PathOfLength(300), platform::kFail, ""},
        {PathOfLength(1100), platform::kFail, ""},
    };
    for (bool counted : {false, true}) {
        for (const auto& l : lengths) {
            SCOPED_TRACE(std::to_string(l.savePath.size()) + " characters" +
                         (counted ? ", counted" : ", fixed"));
            Restart();
            StartPreviewing(counted);
            SetSavePath(l.savePath);
            const std::string iniBefore = Ini();
            const std::string target =
                counted ? l.countedImage : sim::FullPath(l.savePath.empty() ? "x" : l.savePath);
            const platform::HResult expected =
                counted ? (l.countedImage.empty() ? platform::kFail : platform::kOk)
                        : l.fixedResult;
            EXPECT_EQ(CaptureStill(), expected);
            if (expected == platform::kOk) {
                const std::string* image = sim::FindFile(target);
                ASSERT_NE(image, nullptr) << target;
                EXPECT_EQ(image->size(), kFrameFileSize);
                EXPECT_EQ(sim::Files().files.size(), 2u); // no temporary file left
                EXPECT_EQ(Ini(), counted ? CountedOnce(iniBefore) : iniBefore);
            } else {
                EXPECT_EQ(sim::Files().files.size(), 1u);
                EXPECT_EQ(Ini(), iniBefore);
                EXPECT_EQ(General.ImageCounter, 0);
            }
        }
    }
}

// A folder so deep that no second name fits beside the image: the image is written in place. It
// replaces the earlier one whole when it succeeds; a failed write cannot keep the earlier image,
// but leaves no truncated one either.
TEST_F(HostileFilesTest, AFolderWithoutRoomForATemporaryNameIsWrittenInPlace) {
    const std::string folder = "C:\\" + std::string(245, 'f') + "\\"; // 249 characters
    const std::string path = folder + "a.bmp";                        // 254 characters
    StartPreviewing(false);
    SetSavePath(path);
    sim::Files().files[path] = "earlier image";
    EXPECT_EQ(CaptureStill(), platform::kOk);
    EXPECT_EQ(sim::FindFile(path)->size(), kFrameFileSize);
    EXPECT_EQ(sim::Files().files.size(), 2u);

    sim::Files().capacity = sim::BytesStored() - kFrameFileSize + 100; // room for 100 bytes more
    EXPECT_EQ(CaptureStill(), kDiskFull);
    EXPECT_EQ(sim::FindFile(path), nullptr);
    EXPECT_EQ(sim::Files().files.size(), 1u);
}

} // namespace
