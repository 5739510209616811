// The clock guard and crash recovery through the real pontax binary with the scripted fake
// engine, each key on and off; every bestmove is checked against the host's clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/adapter/core/FakeEngineTest.h"

namespace {

using namespace std::chrono_literals;
using testing_support::AnyLineHas;
using testing_support::FakeEngineTest;
using testing_support::Lines;

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
    EXPECT_TRUE(AnyLineHas(engine, "new"));
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
    EXPECT_FALSE(AnyLineHas(engine, "?")) << testing::PrintToString(engine);
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

namespace {

constexpr const char* kRestart = "RestartEngine=1\n";

class RestartTest : public FakeEngineTest {
protected:
    size_t EngineStarts() {
        Lines lines = EngineLines();
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), "protover 2"));
    }
    // The adapter ends by itself.
    bool EndsWithin(std::chrono::milliseconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (testing_support::ProcessExists(host_->Raw().Pid())) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }
    bool WaitForEngineStarts(size_t count) {
        for (int i = 0; i < 500 && EngineStarts() < count; ++i) std::this_thread::sleep_for(20ms);
        return EngineStarts() >= count;
    }
};

// The engine dies at every "go": each search is answered at once and the engine started again,
// three times in a minute; the fourth time the adapter ends, as without the key.
TEST_F(RestartTest, AnEngineKilledInASearchIsStartedAgainAFewTimesAMinute) {
    Start("", kRestart, "on go => !kill\n");
    for (size_t restart = 1; restart <= 3; ++restart) {
        Position("startpos moves e2e4");
        Go(" wtime 60000 btime 60000");
        Lines lines = UntilBestMove(5s);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[lines.size() - 2], "info string The engine stopped; it is started again.");
        EXPECT_EQ(lines.back().rfind("bestmove ", 0), 0u);
        ASSERT_TRUE(WaitForEngineStarts(restart + 1));
        host_->Send("isready");
        ASSERT_TRUE(host_->WaitFor("readyok"));
    }
    Position("startpos moves e2e4");
    Go(" wtime 60000 btime 60000");
    EXPECT_EQ(UntilBestMove(5s).back().rfind("bestmove ", 0), 0u);
    EXPECT_TRUE(EndsWithin(10s));
    EXPECT_TRUE(LogHas("restarted too often"));
}

// Options the GUI set reach the new engine; the next search sets up the whole game and says why.
TEST_F(RestartTest, AnEngineThatExitsBetweenSearchesIsBackInStepForTheNext) {
    Start("", std::string(kRestart) + "[EXTRAS]\nStrength=strength %i|spin|5|1|9\nCrash=crash|button\n",
          "on go => move e7e5\non crash => !exit\n");
    host_->Send("setoption name Strength value 7");
    Position("startpos moves e2e4");
    Go(" wtime 60000 btime 60000");
    EXPECT_EQ(UntilBestMove().back(), "bestmove e7e5");
    dir_.Write("script", "on protover 2 => feature done=1\non go => move b8c6\non crash => !exit\n");
    host_->Send("setoption name Crash");
    ASSERT_TRUE(WaitForEngineStarts(2));
    host_->Send("isready");
    ASSERT_TRUE(host_->WaitFor("readyok"));
    EngineGot();
    Position("startpos moves e2e4 e7e5 g1f3");
    Go(" wtime 60000 btime 60000");
    Lines lines = UntilBestMove();
    EXPECT_EQ(lines, (Lines{"info depth 1 score cp 1",
                            "info string The engine stopped and was started again.", "bestmove b8c6"}));
    Lines engine = EngineLines();
    EXPECT_EQ(std::count(engine.begin(), engine.end(), "strength 7"), 2);
    Lines got = EngineGot();
    EXPECT_NE(std::find(got.begin(), got.end(), "new"), got.end()) << testing::PrintToString(got);
    EXPECT_NE(std::find(got.begin(), got.end(), "g1f3"), got.end());
}

// The engine exits between searches and takes seconds to start again (a busy machine): the next
// search, which has to wait for that, is still answered before the host's clock runs out, and the
// search after it is the restarted engine's.
TEST_F(RestartTest, ASearchThatWaitsForASlowRestartIsAnsweredInTime) {
    Start("", std::string(kRestart) + kGuard + "[EXTRAS]\nCrash=crash|button\n",
          "on go => move e7e5\non crash => !exit\n");
    Position("startpos moves e2e4");
    Go(" wtime 60000 btime 60000");
    EXPECT_EQ(UntilBestMove().back(), "bestmove e7e5");
    dir_.Write("script", "start !sleep 3000\non protover 2 => feature done=1\non go => move b8c6\n");
    host_->Send("setoption name Crash");
    for (int i = 0; i < 500 && !LogHas("The engine stopped; it is started again."); ++i)
        std::this_thread::sleep_for(10ms);
    Position("startpos moves e2e4 e7e5 g1f3");
    Go(" wtime 60000 btime 1000");
    Lines lines = UntilBestMove(5s);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("bestmove ", 0), 0u) << testing::PrintToString(lines);
    EXPECT_TRUE(LogHas("Clock guard: the search could not begin in time"));
    host_->Send("isready");
    ASSERT_TRUE(host_->WaitFor("readyok", 10s));
    Position("startpos moves e2e4 e7e5 g1f3");
    Go(" wtime 60000 btime 60000");
    EXPECT_EQ(UntilBestMove().back(), "bestmove b8c6");
}

TEST_F(RestartTest, AnEngineThatDiesAtEveryStartEndsTheAdapter) {
    Launch("", kRestart, "on xboard => !kill\n");
    host_->Send("uci");
    ASSERT_TRUE(host_->WaitFor("uciok"));
    host_->Send("isready");
    EXPECT_TRUE(EndsWithin(20s));
    EXPECT_EQ(EngineLines().size(), 4u);  // "xboard" of the first start and of three restarts
}

TEST_F(RestartTest, WithoutTheKeyTheAdapterEndsWithItsEngine) {
    Start("", "", "on go => !kill\n");
    Position("startpos moves e2e4");
    Go(" wtime 60000 btime 60000");
    Lines lines = UntilBestMove(5s);
    EXPECT_EQ(lines.back().rfind("bestmove ", 0), 0u);
    EXPECT_FALSE(AnyLineHas(lines, "info string"));
    EXPECT_TRUE(EndsWithin(10s));
    EXPECT_EQ(EngineStarts(), 1u);
}

}  // namespace
