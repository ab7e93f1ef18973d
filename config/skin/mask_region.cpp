#include "config/skin/mask_region.h"

#include <algorithm>

namespace {

bool IsWhite(const uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

bool SameColour(const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

template <typename Inside> std::vector<SkinRect> Runs(const PixelView32& view, Inside inside) {
    std::vector<SkinRect> runs;
    if (!view.bits || view.width <= 0 || view.height <= 0)
        return runs;
    for (int y = 0; y < view.height; ++y) {
        int x = 0;
        while (x < view.width) {
            while (x < view.width && !inside(view.Pixel(x, y)))
                ++x;
            const int start = x;
            while (x < view.width && inside(view.Pixel(x, y)))
                ++x;
            if (x > start)
                runs.push_back({start, y, x, y + 1});
        }
    }
    return runs;
}

} // namespace

std::vector<SkinRect> MaskRuns(const PixelView32& mask) {
    return Runs(mask, [](const uint8_t* p) { return !IsWhite(p); });
}

std::vector<RegionBatch> BatchRuns(const std::vector<SkinRect>& runs, size_t batchSize) {
    std::vector<RegionBatch> batches;
    if (batchSize == 0)
        batchSize = kRegionBatchRects;
    for (size_t i = 0; i < runs.size(); i += batchSize) {
        RegionBatch batch;
        batch.bounds = {0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
        const size_t end = std::min(runs.size(), i + batchSize);
        batch.rects.reserve(((end - i + kRegionBufferGrowth - 1) / kRegionBufferGrowth) *
                            kRegionBufferGrowth);
        for (size_t k = i; k < end; ++k) {
            const SkinRect& r = runs[k];
            batch.rects.push_back(r);
            batch.bounds.left = std::min(batch.bounds.left, r.left);
            batch.bounds.top = std::min(batch.bounds.top, r.top);
            batch.bounds.right = std::max(batch.bounds.right, r.right);
            batch.bounds.bottom = std::max(batch.bounds.bottom, r.bottom);
        }
        batches.push_back(std::move(batch));
    }
    return batches;
}

std::vector<SkinRect> ThumbRuns(const PixelView32& picture) {
    if (!picture.bits || picture.width <= 0 || picture.height <= 0)
        return {};
    uint8_t key[4];
    std::copy(picture.Pixel(0, 0), picture.Pixel(0, 0) + 4, key);
    return Runs(picture, [&key](const uint8_t* p) { return !SameColour(p, key); });
}
