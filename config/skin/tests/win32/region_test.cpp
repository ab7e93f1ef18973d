#include "config/skin/win32/skin_loader.h"

#include <gtest/gtest.h>

namespace {

// A 32-bit DIB section filled with a pattern; pixel (x, y) is inside when inside(x, y).
template <typename Inside> UniqueBitmap MakeMask(int w, int h, Inside inside) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* p = static_cast<uint32_t*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p[y * w + x] = inside(x, y) ? 0x00101010u : 0x00FFFFFFu;
    return bmp;
}

TEST(SkinRegion, BatchedRegionEqualsOnePieceRegion) {
    // A checkerboard has one run per inside pixel: 5,000 runs, three batches.
    auto mask = MakeMask(100, 100, [](int x, int y) { return (x + y) % 2 == 0; });
    UniqueRegion batched(CreateRegionFromMask(mask.get()));
    UniqueRegion single(CreateRegionFromMaskInOnePiece(mask.get()));
    ASSERT_TRUE(batched);
    ASSERT_TRUE(single);
    EXPECT_TRUE(EqualRgn(batched.get(), single.get()));
    EXPECT_TRUE(PtInRegion(batched.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(batched.get(), 1, 0));
    EXPECT_TRUE(PtInRegion(batched.get(), 99, 99));
}

TEST(SkinRegion, WhitePixelMakesAHole) {
    auto mask = MakeMask(20, 10, [](int x, int y) { return !(x == 7 && y == 3); });
    UniqueRegion region(CreateRegionFromMask(mask.get()));
    ASSERT_TRUE(region);
    EXPECT_FALSE(PtInRegion(region.get(), 7, 3));
    EXPECT_TRUE(PtInRegion(region.get(), 6, 3));
    EXPECT_TRUE(PtInRegion(region.get(), 7, 2));
    RECT box;
    GetRgnBox(region.get(), &box);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(box.bottom, 10);
}

TEST(SkinRegion, EmptyMaskGivesNoRegionAndWhiteMaskAnEmptyOne) {
    EXPECT_EQ(CreateRegionFromMask(nullptr), nullptr);
    auto white = MakeMask(8, 8, [](int, int) { return false; });
    UniqueRegion region(CreateRegionFromMask(white.get()));
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
}

TEST(SkinPicture, MissingFileGivesAnEmptyBitmap) {
    UniqueBitmap bmp;
    SIZE size{5, 5};
    LoadSkinPicture(ProgramFolder() + L"Skins\\no-such-picture.bmp", bmp, size);
    EXPECT_FALSE(bmp);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
}

TEST(SkinPicture, CutPieceCopiesTheRectangle) {
    auto mask = MakeMask(10, 10, [](int x, int y) { return x >= 5 && y >= 5; });
    WindowDc dc(nullptr);
    UniqueBitmap piece;
    CutSkinPiece(dc.get(), piece, mask.get(), 4, 4, 8, 8);
    Dib32 dib;
    ASSERT_TRUE(CopyToDib32(piece.get(), dib));
    ASSERT_EQ(dib.width, 4);
    ASSERT_EQ(dib.height, 4);
    // Bottom-up: the last row in memory is the top row of the piece.
    const uint8_t* topLeft = &dib.bits[static_cast<size_t>(3) * 16];
    const uint8_t* bottomRight = &dib.bits[12];
    EXPECT_EQ(topLeft[0], 0xFF);
    EXPECT_EQ(bottomRight[0], 0x10);
    UniqueBitmap untouched;
    CutSkinPiece(dc.get(), untouched, nullptr, 0, 0, 4, 4);
    EXPECT_FALSE(untouched);
}

} // namespace
