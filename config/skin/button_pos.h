// A control's placement as a skin file's "BUTTONPOS" value gives it:
// label "," x "," y "," width "," height, optionally followed by ignored text.
#pragma once

#include "config/skin/skin_geometry.h"

#include <string>
#include <string_view>

// Only this many characters of the label are kept; the label is never used.
constexpr size_t kButtonPosLabelMax = 39;

struct ButtonPos {
    std::wstring label;
    SkinRect rect;
};

// Never fails: missing numbers stay 0, so a missing entry is an empty control at (0, 0).
ButtonPos ParseButtonPos(std::wstring_view value);
