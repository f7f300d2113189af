// The bitmap files the tool writes, checked in one place: a 14-byte file header and a 40-byte info
// header of an uncompressed frame, then the camera's frame exactly.
#pragma once

#include "platform/sim/sim_files.h"
#include "platform/sim/sim_graph.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

inline uint32_t BitmapWord(const std::string& file, size_t offset) {
    uint32_t value = 0;
    std::memcpy(&value, file.data() + offset, 4);
    return value;
}

// "WIDTHxHEIGHT" as the info header gives it, or "no file", or "no bitmap".
inline std::string BitmapSize(const std::string& path) {
    const std::string* file = sim::FindFile(path);
    if (!file)
        return "no file";
    if (file->size() < 54 || file->compare(0, 2, "BM") != 0)
        return "no bitmap";
    return std::to_string(static_cast<int32_t>(BitmapWord(*file, 18))) + "x" +
           std::to_string(static_cast<int32_t>(BitmapWord(*file, 22)));
}

// Whether the file is one whole test frame of width x height (0 x 0: of the size its header
// gives) and nothing else: "BM", the file's size, no reserved bits, pixels at 54 after a 40-byte
// info header, and the camera's pixels.
inline ::testing::AssertionResult IsTestFrameBitmap(const std::string& path, int32_t width = 0,
                                                    int32_t height = 0) {
    const std::string* file = sim::FindFile(path);
    if (!file || file->size() < 54 || file->compare(0, 2, "BM") != 0)
        return ::testing::AssertionFailure() << path << ": no bitmap";
    const int32_t shownWidth = static_cast<int32_t>(BitmapWord(*file, 18));
    const int32_t shownHeight = static_cast<int32_t>(BitmapWord(*file, 22));
    if (width == 0 && height == 0) {
        width = shownWidth;
        height = shownHeight;
    }
    if (shownWidth != width || shownHeight != height)
        return ::testing::AssertionFailure() << path << ": " << shownWidth << "x" << shownHeight
                                             << ", expected " << width << "x" << height;
    if (BitmapWord(*file, 2) != file->size() || BitmapWord(*file, 6) != 0 ||
        BitmapWord(*file, 10) != 54 || BitmapWord(*file, 14) != 40)
        return ::testing::AssertionFailure() << path << ": the headers do not describe the file";
    const std::vector<uint8_t> frame = sim::TestFrame(width, height);
    if (file->size() != 54 + frame.size())
        return ::testing::AssertionFailure()
               << path << ": " << file->size() << " bytes, a whole " << width << "x" << height
               << " frame makes " << 54 + frame.size();
    if (file->compare(54, std::string::npos, reinterpret_cast<const char*>(frame.data()),
                      frame.size()) != 0)
        return ::testing::AssertionFailure() << path << ": pixels are not the camera's frame";
    return ::testing::AssertionSuccess();
}
