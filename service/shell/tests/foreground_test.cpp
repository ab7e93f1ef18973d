#include "service/shell/foreground.h"

#include "service/shell/tests/fake_ports.h"

#include <gtest/gtest.h>

namespace {

TEST(ForegroundTracker, AsksTheProcessOnceWhileItStaysInForeground) {
    FakeProbe probe;
    probe.paths[7] = L"C:\\Games\\Game.exe";
    probe.foregroundId = 7;
    ForegroundTracker tracker(probe);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tracker.ForegroundPath(), L"C:\\Games\\Game.exe");
    EXPECT_EQ(probe.queries, 1);
}

TEST(ForegroundTracker, AsksAgainWhenForegroundProcessChanges) {
    FakeProbe probe;
    probe.paths[7] = L"C:\\a.exe";
    probe.paths[8] = L"C:\\b.exe";
    ForegroundTracker tracker(probe);
    probe.foregroundId = 7;
    EXPECT_EQ(tracker.ForegroundPath(), L"C:\\a.exe");
    probe.foregroundId = 8;
    EXPECT_EQ(tracker.ForegroundPath(), L"C:\\b.exe");
    probe.foregroundId = 7;
    EXPECT_EQ(tracker.ForegroundPath(), L"C:\\a.exe");
    EXPECT_EQ(probe.queries, 3);
}

TEST(ForegroundTracker, ProcessThatCannotBeQueriedNeverMatchesAndIsAskedAgain) {
    FakeProbe probe;
    probe.foregroundId = 9;
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
