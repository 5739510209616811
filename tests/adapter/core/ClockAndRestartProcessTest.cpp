// The clock guard and crash recovery through the real pontax binary with the scripted fake
// engine, each key on and off; every bestmove is checked against the host's clock.
#include <algorithm>
#include <gtest/gtest.h>

#include "tests/adapter/core/FakeEngineTest.h"

namespace {

using namespace std::chrono_literals;
using testing_support::FakeEngineTest;
using testing_support::Lines;

bool Has(const Lines& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

constexpr const char* kGuard = "ClockMargin=200\n";

class ClockGuardTest : public FakeEngineTest {};

// An engine that hears nothing once it thinks: neither "go" nor "?" is answered.
TEST_F(ClockGuardTest, AHangingEngineIsAnsweredForBeforeTheClockRunsOut) {
    Start("", kGuard, "");
    for (const char* position : {"startpos moves e2e4", "startpos moves e2e4 e7e5 g1f3"}) {
        Position(position);
        Go(" wtime 1000 btime 1000");
        Lines lines = UntilBestMove(3s);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().rfind("bestmove ", 0), 0u) << testing::PrintToString(lines);
    }
    Lines engine = EngineGot();
    EXPECT_EQ(std::count(engine.begin(), engine.end(), "?"), 2) << testing::PrintToString(engine);
    // The engine's game was ended: the second search set it up afresh.
    EXPECT_TRUE(Has(engine, "new"));
    EXPECT_TRUE(LogHas("Clock guard: no move from the engine in time"));
}

TEST_F(ClockGuardTest, AnEngineThatMovesWhenToldGivesItsOwnMove) {
    Start("", kGuard, "on ? => move d7d5\n");
    Position("startpos moves e2e4");
    Go(" movetime 1000");
    Lines lines = UntilBestMove(3s);
    EXPECT_EQ(lines.back(), "bestmove d7d5");
    EXPECT_FALSE(LogHas("Clock guard: no move from the engine in time"));
}

TEST_F(ClockGuardTest, AnEngineThatMovesInTimeIsLeftAlone) {
    Start("", kGuard, "on go => move e7e5\n");
    Position("startpos moves e2e4");
    Go(" wtime 1000 btime 1000");
    EXPECT_EQ(UntilBestMove(3s).back(), "bestmove e7e5");
    std::this_thread::sleep_for(1s);
    Lines engine = EngineGot();
    EXPECT_FALSE(Has(engine, "?")) << testing::PrintToString(engine);
}

TEST_F(ClockGuardTest, AnEmptyOrNegativeClockIsAnsweredAtOnce) {
    hostFault_ = "after the clock ran out";
    Start("", kGuard, "");
    Position("startpos moves e2e4");
    Go(" wtime 0 btime 0");
    EXPECT_EQ(UntilBestMove(3s).back().rfind("bestmove ", 0), 0u);
    Position("startpos moves e2e4 e7e5 g1f3");
    Go(" wtime -500 btime -500");
    EXPECT_EQ(UntilBestMove(3s).back().rfind("bestmove ", 0), 0u);
}

TEST_F(ClockGuardTest, PonderingIsNotGuardedButThePonderhitIs) {
    Start("", kGuard, "");
    Position("startpos moves e2e4 e7e5");
    Go(" ponder wtime 1000 btime 1000");
    EXPECT_TRUE(GuiFor(1500ms).size() <= 1);  // nothing but the search's first info line
    host_->Send("ponderhit");
    EXPECT_EQ(UntilBestMove(3s).back().rfind("bestmove ", 0), 0u);
}

// Here the engine moves only when told, and only the host tells it.
TEST_F(ClockGuardTest, WithoutTheKeyTheSearchWaitsForTheHostsStop) {
    Start("", "", "on ? => move d7d5\n");
    Position("startpos moves e2e4");
    Go(" wtime 1000 btime 1000");
    EXPECT_TRUE(GuiFor(1500ms).size() <= 1);
    hostFault_ = "after the clock ran out";
    host_->Send("stop");
    EXPECT_EQ(UntilBestMove(15s).back(), "bestmove d7d5");
}

}  // namespace
