// What each skinned window reads from its skin file: the file, the name of its
// disabled picture and the "BUTTONPOS" keys it places, plus the fixed rectangles
// (labels, sliders) it draws on its pictures. The skin lint checks the shipped
// skins against this table.
#pragma once

#include "config/skin/skin_geometry.h"

#include <vector>

struct SkinWindowEntry {
    const wchar_t* file;
    const wchar_t* disabledKey;
    std::vector<int> buttonKeys;
    std::vector<SkinRect> fixedRects;
};

const std::vector<SkinWindowEntry>& SkinCatalog();

// The key panel places one button per key position, keys 40 .. 153.
constexpr int kKeyPanelFirstKey = 40;
