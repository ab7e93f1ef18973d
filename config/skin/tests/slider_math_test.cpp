#include "config/skin/slider_math.h"

#include <gtest/gtest.h>

namespace {

SliderGeometry Red(int thumbWidth) {
    SliderGeometry g;
    g.minimum = 0;
    g.maximum = 255;
    g.horizontal = true;
    g.travel = {0, 0, 232, 11};
    g.thumbWidth = thumbWidth;
    g.thumbHeight = 11;
    return g;
}

SliderGeometry Hue() {
    SliderGeometry g;
    g.minimum = 0;
    g.maximum = 1530;
    g.horizontal = false;
    g.travel = {0, 0, 20, 184};
    g.thumbWidth = 20;
    g.thumbHeight = 12;
    return g;
}

SkinRect At(const SliderGeometry& g, SkinPoint p) {
    return {p.x, p.y, p.x + g.thumbWidth, p.y + g.thumbHeight};
}

TEST(SkinSliderSetPos, MaximumAtLeftMinimumAtRightOutOfRangeIsMinimum) {
    const auto g = Red(12);
    EXPECT_EQ(SliderThumbPosition(g, 255).x, 0);
    EXPECT_EQ(SliderThumbPosition(g, 0).x, 232 - 12);
    EXPECT_EQ(SliderThumbPosition(g, 300), SliderThumbPosition(g, 0));
    EXPECT_EQ(SliderThumbPosition(g, -1), SliderThumbPosition(g, 0));
    EXPECT_EQ(SliderAcceptedValue(g, -1), 0);
    EXPECT_EQ(SliderAcceptedValue(g, 300), 0);
    EXPECT_EQ(SliderAcceptedValue(g, 128), 128);
    EXPECT_EQ(SliderThumbPosition(g, 128).x, 220 * 127 / 255);
}

TEST(SkinSliderSetPos, UnsignedComparisonWithANegativeMinimum) {
    SliderGeometry g = Red(12);
    g.minimum = -10;
    g.maximum = 10;
    // As unsigned numbers -10 is above 10, so every value is out of range and becomes the minimum.
    EXPECT_EQ(SliderAcceptedValue(g, 5), -10);
    EXPECT_EQ(SliderAcceptedValue(g, -10), -10);
}

TEST(SkinSliderSetPos, VerticalMaximumAtTop) {
    const auto g = Hue();
    EXPECT_EQ(SliderThumbPosition(g, 1530).y, 0);
    EXPECT_EQ(SliderThumbPosition(g, 0).y, 184 - 12);
    EXPECT_EQ(SliderThumbPosition(g, 0).x, 0);
}

TEST(SkinSliderSetPos, DegenerateTravelAndRangeStayAtTheStart) {
    SliderGeometry g = Red(300);
    EXPECT_EQ(SliderThumbPosition(g, 0).x, 0);
    g = Red(12);
    g.maximum = g.minimum = 7;
    EXPECT_EQ(SliderThumbPosition(g, 7).x, 0);
    EXPECT_EQ(SliderDragValue(g, At(g, {100, 0})), 7);
    EXPECT_EQ(SliderReleaseValue(g, At(g, {100, 0})), 7);
}

TEST(SkinSliderDrag, FullyLeftReleasesAtMaximumFullyRightAtMinimum) {
    const auto g = Red(12);
    SkinRect thumb = At(g, SliderThumbPosition(g, 100));
    const int dx = SliderLimitDelta(g, thumb, -1000);
    EXPECT_EQ(thumb.left + dx, 0);
    EXPECT_EQ(SliderReleaseValue(g, At(g, {0, 0})), 255);
    const int dxRight = SliderLimitDelta(g, thumb, 1000);
    EXPECT_EQ(thumb.right + dxRight, 232);
    EXPECT_EQ(SliderReleaseValue(g, At(g, {220, 0})), 0);
}

TEST(SkinSliderDrag, DragValueIsFromThePositionBeforeTheMove) {
    const auto g = Red(12);
    // The 1035 value counts from the left; the track turns it round for the owner.
    EXPECT_EQ(SliderDragValue(g, At(g, {0, 0})), 0);
    EXPECT_EQ(SliderDragValue(g, At(g, {220, 0})), 255);
    EXPECT_EQ(SliderDragValue(g, At(g, {110, 0})), 255 * 110 / 220);
    EXPECT_EQ(TrackRelayValue(g, 0), 255);
    EXPECT_EQ(TrackRelayValue(g, 255), 0);
    EXPECT_EQ(TrackRelayValue(g, 400), 0);
    EXPECT_EQ(TrackRelayValue(g, -3), 255);
}

TEST(SkinSliderDrag, VerticalValues) {
    const auto g = Hue();
    EXPECT_EQ(SliderDragValue(g, At(g, {0, 0})), 1530);
    EXPECT_EQ(SliderDragValue(g, At(g, {0, 172})), 0);
    EXPECT_EQ(TrackRelayValue(g, 1530), 1530);
    EXPECT_EQ(SliderReleaseValue(g, At(g, {0, 0})), 1530);
    EXPECT_EQ(SliderReleaseValue(g, At(g, {0, 172})), 0);
    EXPECT_EQ(SliderLimitDelta(g, At(g, {0, 170}), 50), 2);
}

TEST(SkinSliderRoundTrip, SetPosThenReleaseKeepsTheValueWithinOneStep) {
    const auto g = Red(12);
    for (int v = 0; v <= 255; ++v) {
        const int back = SliderReleaseValue(g, At(g, SliderThumbPosition(g, v)));
        EXPECT_LE(std::abs(back - v), 2) << v;
    }
}

TEST(SkinTrackMouse, HorizontalFormulaTurnedRound) {
    const auto g = Red(12);
    const SkinRect track{407, 145, 639, 156};
    EXPECT_EQ(TrackMouseValue(g, track, 407), 255);
    EXPECT_EQ(TrackMouseValue(g, track, 639), 0);
    EXPECT_EQ(TrackMouseValue(g, track, 2000), 0);
    EXPECT_EQ(TrackMouseValue(g, track, -50), 255);
}

} // namespace
