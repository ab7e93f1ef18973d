#include "config/skin/button_look.h"
#include "config/skin/list_metrics.h"
#include "config/skin/menu_metrics.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinMenuMetrics, WidthGrowsWithTheLongestText) {
    int width = 0;
    for (size_t len : {3u, 5u, 8u})
        width = MenuWidthAfterAppend(width, 0, 0, len);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(MenuWidthAfterAppend(135, 0, 0, 4), 135);
    EXPECT_EQ(MenuWidthAfterAppend(0, 3, 4, 2), 23);
}

TEST(SkinMenuMetrics, ItemHeights) {
    EXPECT_EQ(MenuItemHeight(0, kMenuDefaultItemHeight), 5);
    EXPECT_EQ(MenuItemHeight(kMenuSeparatorId, kMenuDefaultItemHeight), 5);
    EXPECT_EQ(MenuItemHeight(kMenuInvisibleId, kMenuDefaultItemHeight), 0);
    EXPECT_EQ(MenuItemHeight(2005, kMenuDefaultItemHeight), 20);
}

TEST(SkinMenuMetrics, TextSeparatorAndArrow) {
    const SkinRect item{0, 40, 135, 60};
    EXPECT_EQ(MenuTextOrigin(item, 14), (SkinPoint{2, 43}));
    EXPECT_EQ(MenuSeparatorY({0, 60, 135, 65}), 62);
    EXPECT_EQ(MenuArrowOrigin(item), (SkinPoint{116, 31}));
}

TEST(SkinListMetrics, TextRectangles) {
    const SkinRect item{0, 18, 120, 36};
    EXPECT_EQ(ListTextRect(item, 0, 16, 40), (SkinRect{5, 18, 45, 36}));
    EXPECT_EQ(ListTextRect(item, (3u << 16) + 138, 16, 40), (SkinRect{21, 18, 61, 36}));
    // Indent-only data: no picture but the text still moves by the icon width.
    EXPECT_EQ(ListTextOrigin(item, kListIndentOnly, 16), (SkinPoint{21, 18}));
    EXPECT_EQ(ListTextOrigin(item, 0x50000, 16), (SkinPoint{5, 18}));
    EXPECT_EQ(ListPictureOrigin(item), (SkinPoint{5, 20}));
}

TEST(SkinListMetrics, EditRectangles) {
    const SkinRect item{0, 18, 120, 36};
    EXPECT_EQ(ListAddEditRect(item), (SkinRect{1, 18, 118, 36}));
    EXPECT_EQ(ListRenameEditRect(item, 140, 16), (SkinRect{21, 18, 120, 36}));
    EXPECT_EQ(ListRenameEditRect(item, 0, 16), item);
}

TEST(SkinButtonLook, PieceChoice) {
    struct Case {
        ButtonState s;
        ButtonPiece piece;
    } cases[] = {
        {{}, ButtonPiece::Normal},
        {{false, false, false, true, false}, ButtonPiece::Hover},
        {{false, true, false, true, false}, ButtonPiece::Down},
        {{false, false, true, false, false}, ButtonPiece::Down},
        {{true, false, true, true, false}, ButtonPiece::Disabled},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseButtonPiece(c.s), c.piece);
}

TEST(SkinButtonLook, CaptionColour) {
    const ButtonColours c{1, 2, 3, 4};
    EXPECT_EQ(ChooseCaptionColour({}, c), 1u);
    EXPECT_EQ(ChooseCaptionColour({false, false, false, true, false}, c), 2u);
    EXPECT_EQ(ChooseCaptionColour({false, false, false, true, true}, c), 4u);
    EXPECT_EQ(ChooseCaptionColour({true, false, true, false, false}, c), 3u);
    EXPECT_EQ(ChooseCaptionColour({false, false, true, false, false}, c), 4u);
    EXPECT_EQ(ChooseCaptionColour({true, false, false, true, false}, c), 2u); // hover wins over disabled
}

TEST(SkinButtonLook, CaptionLayout) {
    const SkinRect client{0, 0, 100, 30};
    auto centred = LayoutCaption(client, 0, 0, kDtWordBreak, kDtVCenter);
    EXPECT_EQ(centred.rect, (SkinRect{5, 9, 95, 30}));
    EXPECT_EQ(centred.format, kDtNoPrefix | kDtEndEllipsis | kDtVCenter | kDtWordBreak | kDtCenter);
    EXPECT_EQ(LayoutCaption(client, 0, 0, kDtSingleLine, kDtVCenter).rect, client);
    auto left = LayoutCaption(client, 1, 7, kDtSingleLine, kDtVCenter);
    EXPECT_EQ(left.rect, (SkinRect{7, 0, 95, 30}));
    EXPECT_EQ(left.format & (kDtCenter | kDtRight), 0u);
    auto right = LayoutCaption(client, 3, 7, kDtSingleLine, 0);
    EXPECT_EQ(right.rect, client);
    EXPECT_EQ(right.format, kDtNoPrefix | kDtEndEllipsis | kDtSingleLine | kDtRight);
}

} // namespace
