// Plain geometry shared by the skin engine and its controls: client-pixel
// rectangles with exclusive right and bottom edges, as the platform uses them.
#pragma once

struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const SkinRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const SkinRect& o) const { return !(*this == o); }
};

struct SkinPoint {
    int x = 0;
    int y = 0;
    bool operator==(const SkinPoint& o) const { return x == o.x && y == o.y; }
};
