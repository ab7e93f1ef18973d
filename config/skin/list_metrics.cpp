#include "config/skin/list_metrics.h"

SkinRect ListTextRect(const SkinRect& item, uintptr_t itemData, int iconWidth, int textWidth) {
    SkinRect r = item;
    r.left += kListTextIndent + (ListPictureId(itemData) != 0 ? iconWidth : 0);
    r.right = r.left + textWidth;
    return r;
}

SkinPoint ListTextOrigin(const SkinRect& item, uintptr_t itemData, int iconWidth) {
    return {item.left + kListTextIndent + (ListPictureId(itemData) != 0 ? iconWidth : 0), item.top};
}

SkinPoint ListPictureOrigin(const SkinRect& item) { return {item.left + kListTextIndent, item.top + 2}; }

SkinRect ListAddEditRect(const SkinRect& item) {
    return {item.left + 1, item.top, item.right - 2, item.bottom};
}

SkinRect ListRenameEditRect(const SkinRect& item, uintptr_t itemData, int iconWidth) {
    SkinRect r = item;
    if (ListPictureId(itemData) != 0)
        r.left += iconWidth + kListTextIndent;
    return r;
}
