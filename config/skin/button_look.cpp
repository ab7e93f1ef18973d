#include "config/skin/button_look.h"

ButtonPiece ChooseButtonPiece(const ButtonState& s) {
    if (s.disabled)
        return ButtonPiece::Disabled;
    if (s.checked || s.selected)
        return ButtonPiece::Down;
    if (s.hover)
        return ButtonPiece::Hover;
    return ButtonPiece::Normal;
}

uint32_t ChooseCaptionColour(const ButtonState& s, const ButtonColours& c) {
    if (s.hover)
        return s.pressedFlag ? c.pressed : c.hover;
    if (s.disabled)
        return c.disabled;
    if (s.selected || s.checked)
        return c.pressed;
    return c.normal;
}

CaptionLayout LayoutCaption(const SkinRect& client, int alignment, int leftIndent, unsigned lineFlags,
                            unsigned verticalFlags) {
    CaptionLayout layout;
    layout.rect = client;
    const unsigned common = kDtNoPrefix | kDtEndEllipsis | verticalFlags | lineFlags;
    if (alignment == 0) {
        layout.format = common | kDtCenter;
        if (lineFlags == kDtWordBreak) {
            layout.rect.top += 9;
            layout.rect.left += 5;
            layout.rect.right -= 5;
        }
    } else if (alignment == 1) {
        layout.format = common;
        layout.rect.left += leftIndent;
        layout.rect.right -= 5;
    } else {
        layout.format = common | kDtRight;
    }
    return layout;
}
