#include "config/skin/button_pos.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const wchar_t* value;
    const wchar_t* label;
    SkinRect rect;
};

TEST(SkinParseButtonPos, Table) {
    const Case cases[] = {
        {L"ok,20,300,96,28", L"ok", {20, 300, 116, 328}},
        {L"ok,20,300", L"ok", {20, 300, 20, 300}},
        {L"20,300,96,28", L"20", {300, 96, 328, 96}},
        {L"ok,20,300,96,28,Apply now", L"ok", {20, 300, 116, 328}},
        {L"", L"", {0, 0, 0, 0}},
        {L"no numbers at all", L"", {0, 0, 0, 0}},
        {L"ok", L"", {0, 0, 0, 0}},
        {L"ok,", L"ok", {0, 0, 0, 0}},
        {L"ok, 5, 6, 7, 8", L"ok", {5, 6, 12, 14}},
        {L"ok,-5,10,20,30", L"ok", {-5, 10, 15, 40}},
        {L"ok,5,x,7,8", L"ok", {5, 0, 5, 0}},
        {L"ok,5 ,6,7,8", L"ok", {5, 0, 5, 0}},
        {L",1,2,3,4", L"", {1, 2, 4, 6}},
    };
    for (const Case& c : cases) {
        const ButtonPos pos = ParseButtonPos(c.value);
        EXPECT_EQ(pos.label, c.label) << c.value;
        EXPECT_EQ(pos.rect, c.rect) << c.value;
    }
}

TEST(SkinParseButtonPos, LongLabelIsCutAndTheRectangleStillRead) {
    const std::wstring label(60, L'k');
    const ButtonPos pos = ParseButtonPos(label + L",1,2,3,4");
    EXPECT_EQ(pos.label, label.substr(0, 39));
    EXPECT_EQ(pos.rect, (SkinRect{1, 2, 4, 6}));
}

TEST(SkinParseButtonPos, HugeNumbersSaturateInsteadOfWrapping) {
    const ButtonPos pos = ParseButtonPos(L"big,2147483647,0,99999999999,5");
    EXPECT_EQ(pos.rect.left, 2147483647);
    EXPECT_EQ(pos.rect.right, 2147483647);
    EXPECT_EQ(pos.rect.bottom, 5);
}

} // namespace
