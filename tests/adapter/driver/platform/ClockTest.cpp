#include <gtest/gtest.h>

#include "Clock.h"

namespace pontax {
namespace {

TEST(TickTimerTest, StoppedTimerKeepsItsValue) {
    TickTimer timer;
    timer.Set(1500);
    EXPECT_EQ(timer.Elapsed(), 1500);
    timer.Set(-5);
    EXPECT_EQ(timer.Elapsed(), 0);
    timer.Start();
    EXPECT_GE(timer.Stop(), 0);
    timer.Reset();
    EXPECT_EQ(timer.Elapsed(), 0);
    EXPECT_FALSE(timer.IsRunning());
}

TEST(CountdownTimerTest, ReportsRemainingTimeAndNeverGoesNegative) {
    CountdownTimer clock;
    clock.Set(-5);
    EXPECT_EQ(clock.Elapsed(), 0);
    clock.Set(60000);
    EXPECT_EQ(clock.Elapsed(), 60000);
    clock.Start();
    clock.Set(30000);  // restarts a running clock with the new limit
    EXPECT_TRUE(clock.IsRunning());
    EXPECT_LE(clock.Elapsed(), 30000);
    EXPECT_GT(clock.Elapsed(), 29000);
    clock.Reset();
    EXPECT_EQ(clock.Elapsed(), 0);
}

}  // namespace
}  // namespace pontax
