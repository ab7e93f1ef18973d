// The window shape from a mask picture, as pure arithmetic: every pixel that is
// not pure white is inside; each maximal run of inside pixels of one row becomes
// one rectangle; the rectangles are handed to the system in batches.
#pragma once

#include "config/skin/skin_geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A 32-bit picture as a DIB section holds it: blue, green, red, unused per pixel.
struct PixelView32 {
    const uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;     // bytes per row in memory
    bool bottomUp = false; // the top image row is the last row in memory

    const uint8_t* Pixel(int x, int y) const {
        const size_t row = static_cast<size_t>(bottomUp ? height - 1 - y : y);
        return bits + row * stride + static_cast<size_t>(x) * 4;
    }
};

constexpr size_t kRegionBatchRects = 2000;
constexpr size_t kRegionBufferGrowth = 100;

struct RegionBatch {
    std::vector<SkinRect> rects;
    SkinRect bounds; // union of rects; starts as left = top = 0x7FFFFFFF, right = bottom = 0
};

// Runs in row order from the top image row, left to right within a row.
std::vector<SkinRect> MaskRuns(const PixelView32& mask);

// Splits runs into batches of at most batchSize rectangles, each with its bounds.
std::vector<RegionBatch> BatchRuns(const std::vector<SkinRect>& runs, size_t batchSize = kRegionBatchRects);

// The slider thumb's shape: the pixels whose colour differs from pixel (0, 0),
// as runs. The same set as cutting every key-coloured pixel out of the full rectangle.
std::vector<SkinRect> ThumbRuns(const PixelView32& picture);
