#include "config/skin/menu_metrics.h"

#include <algorithm>

int MenuWidthAfterAppend(int width, int margin1, int margin2, size_t textLength) {
    return std::max(width, margin1 + margin2 + kMenuCharWidth * static_cast<int>(textLength));
}

int MenuItemHeight(unsigned id, int itemHeight) {
    // Some systems keep the id a separator was appended with instead of passing 0.
    if (id == 0 || id == kMenuSeparatorId)
        return 5;
    if (id == kMenuInvisibleId)
        return 0;
    return itemHeight + 2;
}

SkinPoint MenuTextOrigin(const SkinRect& item, int textHeight) {
    return {item.left + 2, item.top + (item.Height() - textHeight) / 2};
}

int MenuSeparatorY(const SkinRect& item) { return item.top + item.Height() / 2; }

SkinPoint MenuArrowOrigin(const SkinRect& item) { return {item.right - 19, item.top - 9}; }
