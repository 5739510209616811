// The clock guard's thread against a recording engine: when it tells the engine to move.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ClockGuard.h"
#include "DialogueFixture.h"
#include "SearchState.h"

namespace pontax {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class ClockGuardTest : public testing_support::DialogueTest {
protected:
    // A search under way, as Go leaves it.
    unsigned Searching() {
        unsigned number = d.search.BeginSearch();
        d.search.SetMode(EngineMode::Searching);
        return number;
    }
    // Whether the engine is told to move now within `limit`.
    bool ToldToMoveWithin(std::chrono::milliseconds limit) {
        for (auto end = Clock::now() + limit; Clock::now() < end; std::this_thread::sleep_for(5ms))
            for (const auto& line : engine.Take())
                if (line == "?") return true;
        return false;
    }
};

// The guard sleeps towards the deadline it has; a later one does not wake it, an earlier one must.
TEST_F(ClockGuardTest, AnEarlierDeadlineWakesTheGuardAndALaterOneReplacesTheOneItSleepsTowards) {
    unsigned number = Searching();
    d.clockGuard.Watch(number, 60000, 200, Clock::now());
    std::this_thread::sleep_for(20ms);  // the guard now sleeps towards 59.8 s
    d.clockGuard.Watch(number, 300, 200, Clock::now());
    EXPECT_TRUE(ToldToMoveWithin(10s));

    number = Searching();
    d.clockGuard.Watch(number, 300, 200, Clock::now());
    std::this_thread::sleep_for(20ms);  // towards 0.1 s
    d.clockGuard.Watch(number, 60000, 200, Clock::now());
    EXPECT_FALSE(ToldToMoveWithin(600ms));
}

}  // namespace
}  // namespace pontax
