#include "service/pauser.h"

#include <gtest/gtest.h>

TEST(PauseDeadlines, WriteTimeAndOvershootComeOffTheNextPauseUpToATenth) {
    PauseDeadlines d;
    EXPECT_EQ(d.Next(1000, 50), 51000) << "the first pause is whole";
    EXPECT_EQ(d.Next(52500, 50), 101000) << "1.5 ms of writes and overshoot taken off";
    EXPECT_EQ(d.Next(121000, 50), 166000) << "never shorter than nine tenths";
    EXPECT_EQ(d.Next(166000, 100), 266000);
    EXPECT_EQ(d.Next(265000, 50), 315000) << "a pause that ended early gives no credit";
}

TEST(PauseDeadlines, AFullSequenceOfFastWritesKeepsItsTotal) {
    PauseDeadlines d;
    int64_t now = 0;
    for (int i = 0; i < 101; ++i) {
        now += 300;                  // writes between the pauses
        now = d.Next(now, 50) + 700; // each sleep 0.7 ms late
    }
    EXPECT_EQ(now, 300 + 101 * 50000 + 700) << "the first writes and the last overshoot only";
}
