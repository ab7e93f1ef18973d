#include "settings/lang_texts.h"

#include <gtest/gtest.h>

namespace {

class LangLibrary : public ::testing::Test {
protected:
    ~LangLibrary() override { OpenLangLibrary(); }
};

TEST_F(LangLibrary, EveryRangeHasItsTexts) {
    ASSERT_TRUE(OpenLangLibrary()) << "lang.dll beside the test program";
    struct Range {
        unsigned first, last;
    };
    const Range ranges[] = {{1300, 1303}, {101, 117}, {500, 526}, {800, 810},   {700, 704}, {1000, 1004},
                            {1400, 1401}, {400, 406}, {900, 925}, {1100, 1113}, {300, 308}};
    for (const Range& r : ranges) {
        std::vector<std::wstring> texts = LangTexts(r.first, r.last - r.first + 1);
        ASSERT_EQ(texts.size(), r.last - r.first + 1);
        for (unsigned i = 0; i < texts.size(); ++i) {
            EXPECT_FALSE(texts[i].empty()) << "id " << r.first + i;
        }
    }
    EXPECT_EQ(LangText(1301), L"Exit");
    EXPECT_EQ(LangText(1401), L"Please wait\u2026") << "UTF-8 source text arrives intact";
}

TEST_F(LangLibrary, MissingIdIsEmptyAndKeepsTheOthersInPlace) {
    ASSERT_TRUE(OpenLangLibrary());
    EXPECT_EQ(LangText(1304), L"");
    EXPECT_EQ(LangText(0), L"");
    std::vector<std::wstring> texts = LangTexts(1302, 3);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_FALSE(texts[0].empty());
    EXPECT_FALSE(texts[1].empty());
    EXPECT_EQ(texts[2], L"");
}

TEST_F(LangLibrary, MissingLibraryGivesEmptyTexts) {
    EXPECT_FALSE(OpenLangLibraryAt(L"C:\\no such folder\\lang.dll"));
    EXPECT_EQ(LangText(1300), L"");
    std::vector<std::wstring> texts = LangTexts(101, 17);
    EXPECT_EQ(texts, std::vector<std::wstring>(17));
}

} // namespace
