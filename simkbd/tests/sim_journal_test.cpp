#include "simkbd/sim_journal.h"

#include <gtest/gtest.h>

TEST(SimJournal, ParsesKindsBytesStampsAndSkipsComments) {
    std::vector<JournalEntry> entries;
    std::string error;
    ASSERT_TRUE(ParseJournal("# apply\n\nF 000102a9 @12\r\nO 00FF\nR 0080\n", entries, &error)) << error;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].kind, 'F');
    EXPECT_EQ(entries[0].bytes, (std::vector<uint8_t>{0x00, 0x01, 0x02, 0xA9}));
    EXPECT_TRUE(entries[0].stamped);
    EXPECT_EQ(entries[0].ms, 12u);
    EXPECT_FALSE(entries[1].stamped);
    EXPECT_EQ(FormatJournalEntry(entries[0]), "F 000102A9 @12");
}

TEST(SimJournal, RefusesMalformedLinesWithTheirNumber) {
    const char* cases[] = {"X 00\n",   "F\n",        "F 0\n",     "F 0G\n",
                           "F 00 @\n", "F 00 @1x\n", "F 00 12\n", "F00\n"};
    for (const char* text : cases) {
        std::vector<JournalEntry> entries;
        std::string error;
        EXPECT_FALSE(ParseJournal(std::string("# ok\n") + text, entries, &error)) << text;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    }
}

TEST(SimJournal, ComparesStampsOnlyWhereExpected) {
    std::vector<JournalEntry> expected, actual;
    ASSERT_TRUE(ParseJournal("F 00 @5\nO 01\n", expected));
    ASSERT_TRUE(ParseJournal("F 00 @5\nO 01 @9\n", actual));
    EXPECT_EQ(CompareJournals(expected, actual), "");
    ASSERT_TRUE(ParseJournal("F 00 @6\nO 01\n", actual));
    EXPECT_EQ(CompareJournals(expected, actual), "report 1: expected F 00 @5, got F 00 @6");
    ASSERT_TRUE(ParseJournal("F 00 @5\n", actual));
    EXPECT_EQ(CompareJournals(expected, actual), "expected 2 reports, got 1; first missing: O 01");
    ASSERT_TRUE(ParseJournal("F 00 @5\nO 01\nR 02\n", actual));
    EXPECT_EQ(CompareJournals(expected, actual), "expected 2 reports, got 3; first extra: R 02");
}
