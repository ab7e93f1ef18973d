#include "config/skin/mask_region.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// A 32-bit picture in memory, bottom-up as the platform's DIB sections are.
struct Picture {
    int width, height;
    std::vector<uint8_t> bits;
    Picture(int w, int h, uint32_t rgb) : width(w), height(h), bits(static_cast<size_t>(w) * h * 4) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, rgb);
    }
    void Set(int x, int y, uint32_t rgb) {
        uint8_t* p = &bits[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
        p[0] = rgb & 0xFF;
        p[1] = (rgb >> 8) & 0xFF;
        p[2] = (rgb >> 16) & 0xFF;
        p[3] = 0x5A; // the unused byte must not matter
    }
    PixelView32 View() const { return {bits.data(), width, height, static_cast<size_t>(width) * 4, true}; }
};

std::set<std::pair<int, int>> Pixels(const std::vector<SkinRect>& rects) {
    std::set<std::pair<int, int>> out;
    for (const SkinRect& r : rects)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                out.insert({x, y});
    return out;
}

TEST(SkinMaskRuns, BlackMaskIsOneRunPerRow) {
    Picture mask(5, 3, 0x000000);
    const auto runs = MaskRuns(mask.View());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], (SkinRect{0, 0, 5, 1}));
    EXPECT_EQ(runs[2], (SkinRect{0, 2, 5, 3}));
}

TEST(SkinMaskRuns, WhitePixelMakesAHoleAndNearWhiteDoesNot) {
    Picture mask(5, 3, 0x202020);
    mask.Set(2, 1, 0xFFFFFF);
    mask.Set(4, 2, 0xFFFFFE);
    const auto runs = MaskRuns(mask.View());
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[1], (SkinRect{0, 1, 2, 2}));
    EXPECT_EQ(runs[2], (SkinRect{3, 1, 5, 2}));
    EXPECT_EQ(runs[3], (SkinRect{0, 2, 5, 3}));
    EXPECT_EQ(Pixels(runs).count({2, 1}), 0u);
    EXPECT_EQ(Pixels(runs).size(), 14u);
}

TEST(SkinMaskRuns, TopImageRowComesFirstForBothRowOrders) {
    Picture mask(3, 2, 0xFFFFFF);
    mask.Set(1, 0, 0);
    EXPECT_EQ(MaskRuns(mask.View()), (std::vector<SkinRect>{{1, 0, 2, 1}}));

    std::vector<uint8_t> topDown(3 * 2 * 4, 255);
    topDown[4 + 0] = topDown[4 + 1] = topDown[4 + 2] = 0;
    EXPECT_EQ(MaskRuns({topDown.data(), 3, 2, 12, false}), (std::vector<SkinRect>{{1, 0, 2, 1}}));
}

TEST(SkinMaskRuns, WhiteEverywhereIsEmptyAndEmptyMaskToo) {
    EXPECT_TRUE(MaskRuns(Picture(4, 4, 0xFFFFFF).View()).empty());
    EXPECT_TRUE(MaskRuns(PixelView32{}).empty());
}

TEST(SkinMaskRuns, RowStrideWithPaddingIsHonoured) {
    // 2 pixels a row, 12 bytes a row: the padding is white and must not be read as pixels.
    std::vector<uint8_t> bits(24, 255);
    bits[0] = bits[1] = bits[2] = 0;
    const auto runs = MaskRuns({bits.data(), 2, 2, 12, true});
    EXPECT_EQ(runs, (std::vector<SkinRect>{{0, 1, 1, 2}}));
}

TEST(SkinBatchRuns, BatchedBuildCoversExactlyTheSinglePieceBuild) {
    // A checkerboard: one run per inside pixel, far more than one batch.
    Picture mask(100, 50, 0xFFFFFF);
    for (int y = 0; y < 50; ++y)
        for (int x = (y % 2); x < 100; x += 2)
            mask.Set(x, y, 0x000000);
    const auto runs = MaskRuns(mask.View());
    ASSERT_EQ(runs.size(), 2500u);

    const auto batches = BatchRuns(runs);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].rects.size(), 2000u);
    EXPECT_EQ(batches[1].rects.size(), 500u);
    std::vector<SkinRect> joined;
    for (const auto& b : batches) {
        for (const SkinRect& r : b.rects) {
            EXPECT_LE(b.bounds.left, r.left);
            EXPECT_LE(b.bounds.top, r.top);
            EXPECT_GE(b.bounds.right, r.right);
            EXPECT_GE(b.bounds.bottom, r.bottom);
        }
        joined.insert(joined.end(), b.rects.begin(), b.rects.end());
    }
    EXPECT_EQ(Pixels(joined), Pixels(BatchRuns(runs, runs.size())[0].rects));
    EXPECT_EQ(batches[0].bounds, (SkinRect{0, 0, 100, 40}));
    EXPECT_EQ(batches[1].bounds, (SkinRect{0, 40, 100, 50}));
}

TEST(SkinBatchRuns, NoRunsNoBatches) { EXPECT_TRUE(BatchRuns({}).empty()); }

TEST(SkinThumbRuns, KeyColourPixelsAreCutOutEvenInside) {
    Picture thumb(4, 3, 0xFF00FF);
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x < 3; ++x)
            thumb.Set(x, y, 0x3B8CE8);
    thumb.Set(2, 1, 0xFF00FF); // the corner's colour inside the picture makes a hole
    const auto shape = Pixels(ThumbRuns(thumb.View()));
    EXPECT_EQ(shape.size(), 5u);
    EXPECT_EQ(shape.count({2, 1}), 0u);
    EXPECT_EQ(shape.count({0, 0}), 0u);
    EXPECT_EQ(shape.count({1, 1}), 1u);
}

} // namespace
