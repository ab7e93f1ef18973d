#include "config/skin/window_texts.h"
#include "settings/lang_texts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class FakeTexts : public TextSource {
public:
    std::map<unsigned, std::wstring> texts;
    std::wstring Text(unsigned id) const override {
        auto it = texts.find(id);
        return it == texts.end() ? std::wstring() : it->second;
    }
};

struct SourceScope {
    explicit SourceScope(const TextSource* s) { SetTextSource(s); }
    ~SourceScope() { SetTextSource(nullptr); }
};

TEST(SkinWindowTexts, OneEntryPerIdAndMissingIdsStayEmpty) {
    FakeTexts fake;
    fake.texts = {{300, L"Performance"}, {301, L"Polling rate"}, {303, L"Response time"}};
    SourceScope scope(&fake);
    std::vector<std::wstring> texts;
    LoadWindowTexts(texts, 300, 9);
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(texts[1], L"Polling rate");
    EXPECT_EQ(texts[2], L"");
    EXPECT_EQ(texts[3], L"Response time");
    EXPECT_EQ(texts[8], L"");
}

TEST(SkinWindowTexts, AppendsWithoutClearing) {
    FakeTexts fake;
    fake.texts = {{1100, L"first"}, {1113, L"last"}};
    SourceScope scope(&fake);
    std::vector<std::wstring> texts{L"kept"};
    LoadWindowTexts(texts, 1100, 14);
    ASSERT_EQ(texts.size(), 15u);
    EXPECT_EQ(texts[0], L"kept");
    EXPECT_EQ(texts[1], L"first");
    EXPECT_EQ(texts[14], L"last");
    LoadWindowTexts(texts, 1100, 0);
    EXPECT_EQ(texts.size(), 15u);
}

#ifndef _WIN32
// Natively there is no lang.dll at all.
TEST(SkinWindowTexts, NoLibraryGivesEmptyEntries) {
    std::vector<std::wstring> texts;
    LoadWindowTexts(texts, 101, 17);
    ASSERT_EQ(texts.size(), 17u);
    for (const auto& t : texts)
        EXPECT_TRUE(t.empty());
}
#endif

} // namespace
