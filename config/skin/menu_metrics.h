// Sizes of the owner-drawn popup menu's items.
#pragma once

#include "config/skin/skin_geometry.h"

#include <cstddef>

constexpr unsigned kMenuSeparatorId = 2048; // appended as a separator; drawn as item id 0
constexpr unsigned kMenuInvisibleId = 1;
constexpr int kMenuDefaultItemHeight = 18;
constexpr int kMenuCharWidth = 8;

// Width after appending an item whose text has textLength characters.
int MenuWidthAfterAppend(int width, int margin1, int margin2, size_t textLength);

// Height measured for an item id: separators (id 0 or 2048) 5, the invisible item 0, others itemHeight + 2.
int MenuItemHeight(unsigned id, int itemHeight);

// Where an item's text starts for a text of the given height.
SkinPoint MenuTextOrigin(const SkinRect& item, int textHeight);

int MenuSeparatorY(const SkinRect& item);

// Top-left of the submenu arrow icon.
SkinPoint MenuArrowOrigin(const SkinRect& item);
