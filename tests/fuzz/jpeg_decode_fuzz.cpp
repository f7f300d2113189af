// The test converter's JPEG decoder (vcam/convert/src/jpeg_decoder.cpp) over arbitrary bytes: the
// first two give the frame size the connection expects (1..64 each), the rest is the frame. It
// must never read or write outside the data and the picture (the sanitizers watch), and a picture
// drawn from the same bytes, encoded by the virtual camera's encoder, must decode at its size.
#include "fuzz_check.h"
#include "jpeg_decoder.h"
#include "jpeg_encoder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// ctest runs: 3000

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const long width = 1 + data[0] % 64, height = 1 + data[1] % 64;
    const long stride = (width * 3 + 3) & ~3L;
    std::vector<uint8_t> dib(static_cast<size_t>(stride * height));
    convert::JpegScratch scratch;
    convert::DecodeJpegToDib(data + 2, size - 2, width, height, dib.data(), &scratch);

    // The bytes as a picture (repeated to fill it), through the encoder and back.
    std::vector<uint8_t> picture(dib.size());
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = data[i % size];
    std::vector<uint8_t> jpeg;
    vcam::JpegEncoder encoder(85);
    encoder.Encode(picture.data(), width, height, stride, &jpeg);
    CHECK(convert::DecodeJpegToDib(jpeg.data(), jpeg.size(), width, height, dib.data(), &scratch),
          "the encoder's %ldx%ld frame of %zu bytes was refused", width, height, jpeg.size());
    return 0;
}
