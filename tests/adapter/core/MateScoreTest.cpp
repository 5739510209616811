#include <gtest/gtest.h>

#include <climits>

#include "MateScore.h"
#include "Settings.h"

namespace pontax {
namespace {

struct Band {
    const char* name;
    int band;
    std::vector<std::pair<int, const char*>> scores;
    friend void PrintTo(const Band& band, std::ostream* out) { *out << band.name; }
};

class MateScoreTest : public ::testing::TestWithParam<Band> {
protected:
    void SetUp() override { settings.MateScores = true; }
    AdapterSettings settings;
};

// The scores each engine printed for mate in 1 and 2 and mated in 2, and scores at and past the
// edges of its band.
TEST_P(MateScoreTest, MatesBecomeMovesAndEverythingElseStaysCentipawns) {
    settings.MateBand = GetParam().band;
    for (const auto& [score, expected] : GetParam().scores)
        EXPECT_EQ(UciScore(settings, score), expected) << score;
}

INSTANTIATE_TEST_SUITE_P(
    Engines, MateScoreTest,
    ::testing::Values(
        Band{"Protocol",
             0,
             {{100001, "mate 1"},
              {100002, "mate 2"},
              {-100002, "mate -2"},
              {-100001, "mate -1"},
              {100000, "cp 100000"},
              {101000, "mate 1000"},
              {101001, "cp 101001"},
              {99999, "cp 99999"},
              {250, "cp 250"},
              {0, "cp 0"},
              {INT_MAX, "cp 2147483647"},
              {INT_MIN, "cp -2147483648"}}},
        // Plies from the mate value: GNU Chess 10000, Phalanx 30000, HoiChess 100000.
        Band{"Plies",
             10000,
             {{9999, "mate 1"},
              {9997, "mate 2"},
              {-9996, "mate -2"},
              {-9998, "mate -1"},
              {10000, "cp 10000"},
              {-10000, "cp -10000"},
              {10001, "cp 10001"},
              {8001, "mate 1000"},
              {8000, "cp 8000"},
              {-9999, "cp -9999"},
              {300, "cp 300"},
              {INT_MIN, "cp -2147483648"}}},
        // Sjeng counts one ply more.
        Band{"PliesPlusOne",
             1000000,
             {{999998, "mate 1"}, {999996, "mate 2"}, {-999995, "mate -2"}, {-999997, "mate -1"}}},
        Band{"Tiny", 1, {{1, "cp 1"}, {0, "cp 0"}, {-1, "cp -1"}}},
        Band{"Widest",
             INT_MAX,
             {{INT_MAX - 2, "mate 1"}, {INT_MIN, "cp -2147483648"}, {-INT_MAX + 3, "mate -1"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MateScoreOffTest, WithoutTheKeyEveryScoreIsCentipawns) {
    AdapterSettings settings;
    EXPECT_EQ(UciScore(settings, 100002), "cp 100002");
    EXPECT_EQ(UciScore(settings, -100001), "cp -100001");
}

}  // namespace
}  // namespace pontax
