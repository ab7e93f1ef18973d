#include "service/shell/foreground.h"

#include "service/shell/tests/fake_ports.h"

#include <gtest/gtest.h>

namespace {

TEST(ForegroundTracker, AsksTheProcessOnceWhileItStaysInForeground) {
    FakeProbe probe;
    probe.paths[7] = L"C:\\Games\\Game.exe";
    probe.SetForeground(7);
    ForegroundTracker tracker(probe);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tracker.ForegroundPath(), L"C:\\Games\\Game.exe");
    EXPECT_EQ(probe.queries, 1);
}

TEST(ForegroundTracker, SameWindowIsNotAskedForItsOwnerAgain) {
    FakeProbe probe;
    probe.paths[7] = L"C:\\Games\\Game.exe";
    probe.SetForeground(7);
    ForegroundTracker tracker(probe);
    for (int i = 0; i < 3; ++i)
        tracker.ForegroundPath();
    EXPECT_EQ(probe.ownerCalls, 1);
    probe.SetForeground(7, 1); // another window of the same program
    EXPECT_EQ(tracker.ForegroundPath(), L"C:\\Games\\Game.exe");
    EXPECT_EQ(probe.ownerCalls, 2);
    EXPECT_EQ(probe.queries, 1);
}

TEST(ForegroundTracker, AsksAgainWhenForegroundProcessChanges) {
    FakeProbe probe;
    probe.paths[7] = L"C:\\a.exe";
    probe.paths[8] = L"C:\\b.exe";
    ForegroundTracker tracker(probe);
    probe.SetForeground(7);
    EXPECT_EQ(tracker.ForegroundPath(), L"C:\\a.exe");
    probe.SetForeground(8);
    EXPECT_EQ(tracker.ForegroundPath(), L"C:\\b.exe");
    probe.SetForeground(7);
    EXPECT_EQ(tracker.ForegroundPath(), L"C:\\a.exe");
    EXPECT_EQ(probe.queries, 3);
}

TEST(ForegroundTracker, ProcessThatCannotBeQueriedNeverMatchesAndIsAskedAgain) {
    FakeProbe probe;
    probe.SetForeground(9);
    ForegroundTracker tracker(probe);
    EXPECT_FALSE(tracker.IsForegroundProgram(L"C:\\x.exe"));
    EXPECT_FALSE(tracker.IsForegroundProgram(L"C:\\x.exe"));
    EXPECT_EQ(probe.queries, 2);
    probe.paths[9] = L"C:\\x.exe";
    EXPECT_TRUE(tracker.IsForegroundProgram(L"C:\\x.exe"));
}

TEST(ForegroundTracker, NoForegroundWindowMatchesNothing) {
    FakeProbe probe;
    probe.paths[0] = L"";
    ForegroundTracker tracker(probe);
    EXPECT_FALSE(tracker.IsForegroundProgram(L"C:\\x.exe"));
    EXPECT_FALSE(tracker.IsForegroundProgram(L""));
    EXPECT_EQ(probe.queries, 0);
}

TEST(ForegroundChangeWatch, PollsOnlyAfterTheEventMissedAChange) {
    ForegroundChangeWatch watch;
    watch.Prime(10);
    EXPECT_FALSE(watch.OnSlowCheck(10));
    watch.OnChangeEvent(11);
    EXPECT_FALSE(watch.OnSlowCheck(11)); // the event reported the change
    watch.OnChangeEvent(12);
    EXPECT_FALSE(watch.OnSlowCheck(13)); // a change right after an event is given the benefit of the doubt
    EXPECT_TRUE(watch.OnSlowCheck(14));  // a change with no event at all
    EXPECT_TRUE(watch.OnSlowCheck(14));
    EXPECT_FALSE(watch.OnPoll(14));
    EXPECT_TRUE(watch.OnPoll(15));
    EXPECT_FALSE(watch.OnPoll(15));
}

TEST(PathsEqualIgnoringCase, Cases) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    } cases[] = {
        {L"C:\\Games\\Game.exe", L"c:\\games\\GAME.EXE", true},
        {L"C:\\Games\\Game.exe", L"C:\\Games\\Game.ex", false},
        {L"C:\\Games\\Game.exe", L"C:\\Games\\Gane.exe", false},
#ifdef _WIN32
        {L"C:\\Spiele\\\u00c4rger.exe", L"c:\\spiele\\\u00e4rger.exe", true},
#endif
        {L"", L"", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathsEqualIgnoringCase(c.a, c.b), c.equal) << std::wstring(c.a).size();
}

} // namespace
