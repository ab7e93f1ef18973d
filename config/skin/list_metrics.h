// Layout of the owner-drawn list box's items and of its in-place edit box.
#pragma once

#include "config/skin/skin_geometry.h"

#include <cstdint>

constexpr int kListItemHeight = 18;
constexpr int kListIconWidth = 16;
constexpr int kListIconHeight = 16;
constexpr int kListTextIndent = 5;
constexpr int kListAddLimit = 15;
constexpr int kListRenameLimit = 20;
// Item data low word 1: no picture, but the text keeps the picture's indent.
constexpr uint16_t kListIndentOnly = 1;

inline uint16_t ListPictureId(uintptr_t itemData) { return static_cast<uint16_t>(itemData & 0xFFFF); }

// The highlighted area behind an item's text of the given width.
SkinRect ListTextRect(const SkinRect& item, uintptr_t itemData, int iconWidth, int textWidth);

// Where the text is drawn.
SkinPoint ListTextOrigin(const SkinRect& item, uintptr_t itemData, int iconWidth);

// Where an item's picture is drawn.
SkinPoint ListPictureOrigin(const SkinRect& item);

// The edit box that names a new item.
SkinRect ListAddEditRect(const SkinRect& item);

// The edit box that renames the selected item, beside its picture.
SkinRect ListRenameEditRect(const SkinRect& item, uintptr_t itemData, int iconWidth);
