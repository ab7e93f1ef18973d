// What a skinned button shows in a state: which piece, which caption colour and
// where the caption goes. The drawing itself is the window code's.
#pragma once

#include "config/skin/skin_geometry.h"

#include <cstdint>

enum class ButtonPiece { Normal, Hover, Down, Disabled };

struct ButtonState {
    bool disabled = false;
    bool selected = false; // the platform's ODS_SELECTED: held down
    bool checked = false;
    bool hover = false;
    bool pressedFlag = false; // shared by every button: the left button is down on one of them
};

struct ButtonColours {
    uint32_t normal = 0xFDFDFD;
    uint32_t hover = 0xFDFDFD;
    uint32_t disabled = 0xFDFDFD;
    uint32_t pressed = 0xFDFDFD;
};

ButtonPiece ChooseButtonPiece(const ButtonState& s);
uint32_t ChooseCaptionColour(const ButtonState& s, const ButtonColours& c);

// The platform's DrawText flags the caption layout uses.
constexpr unsigned kDtCenter = 0x1, kDtRight = 0x2, kDtVCenter = 0x4, kDtWordBreak = 0x10,
                   kDtSingleLine = 0x20, kDtNoPrefix = 0x800, kDtEndEllipsis = 0x8000;

struct CaptionLayout {
    SkinRect rect;
    unsigned format = 0;
};

// alignment 0 centred, 1 left (with the left indent), 2 or more right.
CaptionLayout LayoutCaption(const SkinRect& client, int alignment, int leftIndent, unsigned lineFlags,
                            unsigned verticalFlags);
