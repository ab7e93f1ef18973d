#include "config/skin/slider_math.h"

#include <algorithm>
#include <cstdint>

namespace {

int Limit(const SliderGeometry& g, int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, g.minimum, std::max(g.minimum, g.maximum)));
}

int64_t Span(const SliderGeometry& g) { return static_cast<int64_t>(g.maximum) - g.minimum; }

// (a * b) / c, or 0 when the divisor is not positive: a degenerate travel or range
// must not divide by zero or throw the thumb outside its track.
int64_t Scale(int64_t a, int64_t b, int64_t c) { return c > 0 ? a * b / c : 0; }

} // namespace

int SliderAcceptedValue(const SliderGeometry& g, int value) {
    const auto v = static_cast<unsigned>(value);
    if (v < static_cast<unsigned>(g.minimum) || v > static_cast<unsigned>(g.maximum))
        return g.minimum;
    return value;
}

SkinPoint SliderThumbPosition(const SliderGeometry& g, int value) {
    const int v = SliderAcceptedValue(g, value);
    const int64_t fromMax = static_cast<int64_t>(g.maximum) - v;
    if (g.horizontal) {
        const int64_t room = std::max<int64_t>(0, g.travel.Width() - static_cast<int64_t>(g.thumbWidth));
        return {static_cast<int>(Scale(room, fromMax, Span(g)) + g.travel.left), g.travel.top};
    }
    const int64_t room = std::max<int64_t>(0, g.travel.Height() - static_cast<int64_t>(g.thumbHeight));
    return {g.travel.left, static_cast<int>(Scale(room, fromMax, Span(g)) + g.travel.top)};
}

int SliderLimitDelta(const SliderGeometry& g, const SkinRect& thumb, int delta) {
    const int low = g.horizontal ? g.travel.left - thumb.left : g.travel.top - thumb.top;
    const int high = g.horizontal ? g.travel.right - thumb.right : g.travel.bottom - thumb.bottom;
    if (delta > high)
        delta = high;
    if (delta < low)
        delta = low;
    return delta;
}

int SliderDragValue(const SliderGeometry& g, const SkinRect& thumb) {
    if (g.horizontal)
        return Limit(g, g.minimum + Scale(Span(g), thumb.left - g.travel.left,
                                          static_cast<int64_t>(g.travel.Width()) - g.thumbWidth));
    return Limit(g, g.minimum + Scale(Span(g), g.travel.bottom - thumb.bottom,
                                      static_cast<int64_t>(g.travel.Height()) - g.thumbHeight));
}

int SliderReleaseValue(const SliderGeometry& g, const SkinRect& thumb) {
    int64_t e;
    if (g.horizontal)
        e = g.minimum +
            Scale(Span(g), thumb.left - g.travel.left, static_cast<int64_t>(g.travel.Width()) - g.thumbWidth);
    else
        e = g.minimum +
            Scale(thumb.top - g.travel.top, Span(g), static_cast<int64_t>(g.travel.Height()) - g.thumbHeight);
    return g.maximum + g.minimum - Limit(g, e);
}

int TrackRelayValue(const SliderGeometry& g, int value) {
    const int v = Limit(g, value);
    return g.horizontal ? g.maximum + g.minimum - v : v + g.minimum;
}

int TrackMouseValue(const SliderGeometry& g, const SkinRect& trackRect, int x) {
    const int v =
        Limit(g, g.minimum + Scale(Span(g), static_cast<int64_t>(x) - trackRect.left, trackRect.Width()));
    return g.minimum + g.maximum - v;
}
