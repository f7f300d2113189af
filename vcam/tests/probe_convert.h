// vcam_probe --convert: the converters the prefix offers, and a USB-shaped camera (no RGB24)
// reaching an RGB24 sample grabber at each of its formats through them.
#pragma once

namespace probe {

int RunConvert();

} // namespace probe
