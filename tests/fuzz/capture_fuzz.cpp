// The still capture over arbitrary connected media types and buffers: format type, format block
// size and bytes, bitmap header fields, and a frame whose size may disagree with the header.
// Property: an image is written, whole and byte for byte, exactly when the header and the frame
// agree; otherwise the capture fails with VFW_E_INVALIDMEDIATYPE, writes no file and leaves the
// counter and the settings file as they were. No task memory outlives the capture.
//
// Input: flags (1), format block size (2), header size, width, height (4 each), planes, bit
// count (2 each), compression, colours used (4 each), frame size delta (2), then the bytes of the
// format block after the header fields.
#include "../common/fresh_tool.h"
#include "byte_reader.h"
#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "camera/still_capture.h"
#include "core/camera_settings.h"
#include "core/settings_path.h"
#include "core/shell_state.h"
#include "fuzz_check.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_graph.h"
#include "settings/settings_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kLargestFrame = 1 << 22; // frames the fuzzer builds stay below 4 MB

template <typename T> void Put(std::vector<uint8_t>& block, size_t offset, T value) {
    if (offset + sizeof value <= block.size())
        std::memcpy(block.data() + offset, &value, sizeof value);
}
// The bitmap header fields the input sets, at offsets 48 to 83 of the format block.
struct Header {
    uint32_t size;
    int32_t width, height;
    uint16_t planes, bits;
    uint32_t compression, used;
};

// The pixel bytes the header describes, from first principles in 128 bits: bits of a row rounded
// up to whole 32-bit words, times the rows; -1 for a header that describes no uncompressed RGB
// picture that fits its block.
__int128 DescribedFrameSize(const platform::Guid& formatType, size_t blockSize, const Header& h) {
    if (!platform::SameGuid(formatType, platform::kFormatVideoInfo) || blockSize < 88)
        return -1;
    const __int128 room = static_cast<__int128>(blockSize) - 48;
    if (h.size < 40 || h.size > room || h.width < 1 || h.height == 0 || h.planes != 1)
        return -1;
    __int128 table = 0; // the palette or the three masks after the header
    if (h.bits == 1 || h.bits == 4 || h.bits == 8) {
        if (h.compression != 0 || h.used > (1u << h.bits))
            return -1;
        table = 4 * static_cast<__int128>(h.used ? h.used : (1u << h.bits));
    } else if (h.bits == 16 || h.bits == 32) {
        if (h.compression == 3)
            table = h.size >= 52 ? 0 : 12;
        else if (h.compression != 0)
            return -1;
    } else if (h.bits != 24 || h.compression != 0) {
        return -1;
    }
    if (h.size + table > room)
        return -1;
    const __int128 rowWords = (static_cast<__int128>(h.width) * h.bits + 31) / 32;
    const __int128 rows = h.height < 0 ? -static_cast<__int128>(h.height) : h.height;
    return rowWords * 4 * rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FreshTool();
    ByteReader in{data, size};
    const uint8_t flags = in.Take<uint8_t>();
    const bool counted = flags & 1;
    const platform::Guid formatType =
        (flags & 6) == 6 ? platform::kMediaTypeVideo : platform::kFormatVideoInfo;
    const bool frameFromHeader = !(flags & 8); // else the delta alone gives the frame's size
    std::vector<uint8_t> block(in.Take<uint16_t>() % 1400);
    const Header h{in.Take<uint32_t>(), in.Take<int32_t>(),  in.Take<int32_t>(),
                   in.Take<uint16_t>(), in.Take<uint16_t>(), in.Take<uint32_t>(),
                   in.Take<uint32_t>()};
    const int16_t delta = in.Take<int16_t>();
    for (size_t i = 0; i < block.size() && in.Left() > 0; ++i)
        block[i] = in.Take<uint8_t>();
    Put(block, 48, h.size);
    Put(block, 52, h.width);
    Put(block, 56, h.height);
    Put(block, 60, h.planes);
    Put(block, 62, h.bits);
    Put(block, 64, h.compression);
    Put(block, 80, h.used);

    const __int128 described = DescribedFrameSize(formatType, block.size(), h);
    __int128 frameSize = delta;
    if (frameFromHeader && described >= 0 && described + delta <= kLargestFrame)
        frameSize = described + delta;
    if (frameSize < 0 || frameSize > kLargestFrame)
        frameSize = static_cast<uint16_t>(delta);
    std::vector<uint8_t> frame(static_cast<size_t>(frameSize));
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<uint8_t>(i * 31 + 7);

    const std::string ini = "[General]\r\nImageSavePath=C:\\shots\\still.bmp\r\nImageCounter=41\r\n"
                            "[Camera0]\r\nName=kept\r\n";
    sim::Files().files["C:\\work\\Framewright.ini"] = ini;
    ComputeSettingsPath();
    General.IncrementImageName = counted ? 1 : 0;
    General.ImageCounter = 41;
    PreviewGraph.Grabber = sim::InjectGrabberFrame(formatType, block, frame);

    const platform::HResult result = CaptureStill();

    const bool agrees = frame.size() > 0 && described == static_cast<__int128>(frame.size());
    const std::string image = counted ? "C:\\shots\\still000042.bmp" : "C:\\shots\\still.bmp";
    const std::string* file = sim::FindFile(image);
    if (agrees) {
        CHECK(result == platform::kOk, "header and frame of %zu bytes agree, got 0x%08x",
              frame.size(), static_cast<unsigned>(result));
        CHECK(file != nullptr, "no image at %s", image.c_str());
        const uint32_t offset = static_cast<uint32_t>(14 + block.size() - 48);
        const uint32_t fileSize = static_cast<uint32_t>(offset + frame.size());
        std::string expected = "BM" + std::string(12, '\0');
        std::memcpy(&expected[2], &fileSize, 4);
        std::memcpy(&expected[10], &offset, 4);
        expected.append(block.begin() + 48, block.end());
        expected.append(frame.begin(), frame.end());
        CHECK(*file == expected, "image of %zu bytes, expected %zu", file->size(), expected.size());
        CHECK(sim::Files().files.size() == 2, "%zu files, expected the settings and the image",
              sim::Files().files.size());
        CHECK(General.ImageCounter == (counted ? 42 : 41), "counter %d",
              static_cast<int>(General.ImageCounter));
    } else {
        CHECK(result == (frame.empty() ? platform::kFail : platform::kInvalidMediaType),
              "header (%lld bytes described) and frame (%zu bytes) disagree, got 0x%08x",
              static_cast<long long>(described > INT64_MAX ? -2 : described), frame.size(),
              static_cast<unsigned>(result));
        CHECK(sim::Files().files.size() == 1, "%zu files, expected the settings only",
              sim::Files().files.size());
        CHECK(*sim::FindFile("C:\\work\\Framewright.ini") == ini, "the settings file changed");
        CHECK(General.ImageCounter == 41, "counter %d", static_cast<int>(General.ImageCounter));
    }
    platform::Release(PreviewGraph.Grabber);
    PreviewGraph.Grabber = nullptr;
    CHECK(sim::Graph().taskBlocksAlive == 0, "%d task blocks left", sim::Graph().taskBlocksAlive);
    return 0;
}
