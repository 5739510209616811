// Compares the adapter's move generator with stockfish's "go perft" on well-known positions.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tests/support/ProcessHarness.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Process;

constexpr const char* kStockfish = "/usr/games/stockfish";

struct PerftRow {
    const char* name;
    const char* fen;
    int shallowDepth;
    int deepDepth;
    bool chess960 = false;
};

const PerftRow kPositions[] = {
    {"Start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 6},
    {"Kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 5},
    {"EnPassantPins", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 5},
    {"PromotionsAndChecks", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 5},
    {"Mirrored", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 5},
    {"Talkchess", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 5},
    {"Middlegame", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3, 5},
    {"BlackEnPassant", "rnbqkbnr/ppp1p1pp/8/8/3pPp2/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", 3, 4},
    // Chess960, castling fields in Shredder-FEN and X-FEN.
    {"Chess960Shredder", "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", 3, 5, true},
    {"Chess960OneWing", "b1q1rrkb/pppppppp/3nn3/8/P7/1PPP4/4PPPP/BQNNRKRB w GE - 1 9", 3, 4, true},
    {"Chess960XFen", "nrkbbqrn/pppppppp/8/8/8/8/PPPPPPPP/NRKBBQRN w KQkq - 0 1", 3, 5, true},
    {"Chess960KingOnItsSquare", "r5kr/8/8/8/8/8/8/R5KR w KQkq - 0 1", 3, 4, true},
    {"Chess960KingAndRookSwap", "1r3kr1/8/8/8/8/8/8/1R3KR1 w GBgb - 0 1", 3, 4, true},
    {"Chess960KingMovesRight", "rk5r/8/8/8/8/8/8/RK5R b KQkq - 0 1", 3, 4, true},
    {"Chess960RookLeavesAPin", "6k1/8/8/8/8/8/8/qRK5 w B - 0 1", 3, 5, true},
};

std::string Trimmed(const std::string& text) {
    size_t end = text.find_last_not_of(" \n");
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

// "move: count" lines and the total, from either program.
std::map<std::string, uint64_t> ParseDivide(const std::string& output, uint64_t& total) {
    std::map<std::string, uint64_t> moves;
    std::istringstream lines(output);
    std::string line;
    total = 0;
    while (std::getline(lines, line)) {
        size_t colon = line.find(": ");
        if (line.rfind("Nodes searched: ", 0) == 0)
            total = std::stoull(line.substr(16));
        else if (colon != std::string::npos && colon >= 4 && colon <= 5 && line.find(' ') == colon + 1)
            moves[line.substr(0, colon)] = std::stoull(line.substr(colon + 2));
        else if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            total = std::stoull(line);
    }
    return moves;
}

void ComparePerft(const PerftRow& row, int depth) {
    if (!std::filesystem::exists(kStockfish)) GTEST_SKIP() << "stockfish is not installed";
    uint64_t oursTotal = 0, theirsTotal = 0;
    std::vector<std::string> rules = {PONTAX_PERFT_PATH};
    if (row.chess960) rules.push_back("--chess960");
    auto withRules = [&](std::vector<std::string> args) {
        args.insert(args.begin(), rules.begin(), rules.end());
        return testing_support::RunToEnd(args);
    };
    auto ours = ParseDivide(withRules({"--divide", row.fen, std::to_string(depth)}), oursTotal);
    std::string setup = row.chess960 ? "setoption name UCI_Chess960 value true\n" : "";
    auto theirs = ParseDivide(
        testing_support::RunToEnd({kStockfish}, setup + "position fen " + row.fen + "\ngo perft " +
                                                    std::to_string(depth) + "\nquit"),
        theirsTotal);
    ASSERT_GT(theirsTotal, 0u);
    EXPECT_EQ(ours, theirs);
    EXPECT_EQ(oursTotal, theirsTotal);
    EXPECT_EQ(Trimmed(withRules({row.fen, std::to_string(depth)})), std::to_string(theirsTotal));
}

class PerftShallow : public ::testing::TestWithParam<PerftRow> {};
TEST_P(PerftShallow, MatchesStockfish) { ComparePerft(GetParam(), GetParam().shallowDepth); }
INSTANTIATE_TEST_SUITE_P(Positions, PerftShallow, ::testing::ValuesIn(kPositions),
                         [](const auto& info) { return std::string(info.param.name); });

class PerftDeep : public ::testing::TestWithParam<PerftRow> {};
TEST_P(PerftDeep, MatchesStockfish) { ComparePerft(GetParam(), GetParam().deepDepth); }
INSTANTIATE_TEST_SUITE_P(Positions, PerftDeep, ::testing::ValuesIn(kPositions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PerftToolTest, UnusableArgumentsExitWithTwo) {
    for (std::vector<std::string> args : {std::vector<std::string>{},
                                          {"fen"},
                                          {"fen", "x"},
                                          {"fen", "-1"},
                                          {"--divide", "fen"},
                                          {"--divide", "fen", "0"},
                                          {"--san", "fen"}}) {
        args.insert(args.begin(), PONTAX_PERFT_PATH);
        Process process(args, "/tmp");
        process.CloseInput();
        EXPECT_EQ(process.WaitExit(10s), 2);
    }
}

TEST(PerftToolTest, NotationModes) {
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    EXPECT_EQ(testing_support::RunToEnd({PONTAX_PERFT_PATH, "--san", start, "g1f3"}), "Nf3\n");
    EXPECT_EQ(testing_support::RunToEnd({PONTAX_PERFT_PATH, "--san", start, "e2e5"}), "");
    EXPECT_EQ(testing_support::RunToEnd({PONTAX_PERFT_PATH, "--parse", start, "Nf3"}), "g1f3\n");
    EXPECT_EQ(testing_support::RunToEnd({PONTAX_PERFT_PATH, "--parse", start, "Nd4"}), "\n");
    EXPECT_EQ(testing_support::RunToEnd({PONTAX_PERFT_PATH, "garbage fen", "2"}), "0\n");
}

}  // namespace
