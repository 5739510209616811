// dravel's rules against stockfish (dravel-perft), kelvane against the scripted fake engine, and
// whole games of dravel-core against kelvane running Debian's engines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/ProcessHarness.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Process;
using testing_support::ReadLines;
using testing_support::TempDir;

unsigned long long StockfishPerft(const std::string& moves, int depth) {
    std::string output = testing_support::RunToEnd(
        {"/usr/games/stockfish"},
        "position startpos moves " + moves + "\ngo perft " + std::to_string(depth) + "\nquit");
    size_t at = output.find("Nodes searched: ");
    return at == std::string::npos ? 0 : std::stoull(output.substr(at + 16));
}

unsigned long long DravelPerft(const std::string& moves, int depth) {
    std::vector<std::string> argv{DRAVEL_PERFT_PATH, std::to_string(depth)};
    std::istringstream words(moves);
    for (std::string move; words >> move;) argv.push_back(move);
    return std::stoull(testing_support::RunToEnd(argv));
}

int PerftDepth(int plain) {
    const char* cap = std::getenv("DRAVEL_PERFT_DEPTH_CAP");
    return cap ? std::min(plain, std::atoi(cap)) : plain;
}

struct PerftRow {
    const char* name;
    const char* moves;
    int depth;
};

class DravelPerftTest : public ::testing::TestWithParam<PerftRow> {};

TEST_P(DravelPerftTest, MatchesStockfish) {
    if (!std::filesystem::exists("/usr/games/stockfish")) GTEST_SKIP() << "stockfish is not installed";
    int depth = PerftDepth(GetParam().depth);
    EXPECT_EQ(DravelPerft(GetParam().moves, depth), StockfishPerft(GetParam().moves, depth));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, DravelPerftTest,
    ::testing::Values(PerftRow{"Start", "", 5}, PerftRow{"EnPassant", "e2e4 d7d5 e4e5 f7f5 a2a3 h7h5", 4},
                      PerftRow{"BothCanCastle", "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3 f8c5", 4},
                      PerftRow{"Promotion", "h2h4 g7g5 h4g5 g8f6 g5g6 f6e4 g6g7 e4c3", 4},
                      PerftRow{"ChecksAndMates", "e2e4 e7e5 d1h5 b8c6 f1c4 g8f6", 4},
                      PerftRow{"BlackPromotesAndCastlingRightsLost",
                               "d2d4 e7e5 d4e5 f8b4 c2c3 b4c3 b1c3 d7d6 e5d6 g8f6 d6c7 e8g8", 4}),
    [](const auto& info) { return std::string(info.param.name); });

// Each reply ends with "done" once the engine has answered a ping given after it, so a result
// written after a move belongs to that reply.
TEST(KelvaneTest, GreetsPassesCommandsOnAndEndsEachReply) {
    TempDir dir;
    dir.Write("script",
              "answer-ping\n"
              "on protover 2 => feature myname=\"Fake Engine\" usermove=1 setboard=0 san=1 ping=1 done=1\n"
              "on usermove e7e8q => move a2a3\non usermove e7e8q => 0-1 {Black mates}\n"
              "on usermove a7a6 => Illegal move: a7a6\n"
              "on usermove h2h3 => resign\non go => 1/2-1/2 {Draw by repetition}\n");
    Process kelvane(
        {KELVANE_PATH}, dir.Path(),
        {"KELVANE_ENGINE=" + std::string(FAKE_ENGINE_PATH), "FAKE_ENGINE_SCRIPT=" + dir.File("script"),
         "FAKE_ENGINE_LOG=" + dir.File("engine.log"), "KELVANE_LOG=" + dir.File("kelvane.log")});
    std::vector<std::string> greeting;
    for (int i = 0; i < 5; ++i) greeting.push_back(kelvane.ReadLine(10s).value_or("(none)"));
    EXPECT_EQ(greeting[1], "info       Engine: Fake Engine");
    EXPECT_EQ(greeting[3].rfind("info", 0), std::string::npos);
    EXPECT_EQ(greeting[4].rfind("info", 0), std::string::npos);
    auto reply = [&] {
        std::vector<std::string> lines;
        while (lines.empty() || lines.back() != "done")
            lines.push_back(kelvane.ReadLine(10s).value_or("done?"));
        return lines;
    };
    kelvane.Send("hard\r");
    kelvane.Send("level 0 2 12\r");
    kelvane.Send("e7e8Q\r");
    EXPECT_EQ(reply(), (std::vector<std::string>{"move a2a3", "0-1 {Black mates}", "done"}));
    kelvane.Send("a7a6\r");
    EXPECT_EQ(reply(), (std::vector<std::string>{"Engine Illegal move: a7a6", "done"}));
    kelvane.Send("setboard 4k3/8/8/8/8/8/4P3/4K3 b KQkq - 0 1\r");
    kelvane.Send("go\r");
    EXPECT_EQ(reply(), (std::vector<std::string>{"1/2-1/2 {Draw by repetition}", "done"}));
    kelvane.Send("h2h3\r");
    EXPECT_EQ(reply(), (std::vector<std::string>{"0-1 {White resigns}", "done"}));
    // The game's moves from "new" in force mode are the position for an engine without setboard.
    for (const char* line : {"new", "force", "e2e4", "e7e5", "easy", "level 0 2 12",
                             "setboard rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "go"})
        kelvane.Send(std::string(line) + "\r");
    EXPECT_EQ(reply(), (std::vector<std::string>{"1/2-1/2 {Draw by repetition}", "done"}));
    kelvane.Send("quit\r");
    EXPECT_EQ(kelvane.WaitExit(10s), 0);
    auto got = ReadLines(dir.File("engine.log"));
    auto has = [&](const std::string& line) { return std::find(got.begin(), got.end(), line) != got.end(); };
    EXPECT_TRUE(has("rejected san"));
    EXPECT_TRUE(has("accepted usermove"));
    EXPECT_TRUE(has("usermove e7e8q"));
    // The engine never ponders; "hard" and "easy" are times per move.
    EXPECT_FALSE(has("hard"));
    EXPECT_TRUE(has("st 4"));
    EXPECT_TRUE(has("st 1"));
    for (const char* line : {"easy", "ping 1", "new", "force", "a2a3", "edit", "#", "Pe2", "Ke1", "c", "Ke8",
                             ".", "go", "usermove e2e4", "usermove e7e5", "quit"})
        EXPECT_TRUE(has(line)) << line;
    // One edit sequence: the one without the game's moves before it.
    EXPECT_EQ(std::count(got.begin(), got.end(), "edit"), 1);
    auto sent = ReadLines(dir.File("kelvane.log"));
    EXPECT_NE(std::find(sent.begin(), sent.end(), "> usermove e7e8q"), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), "< move a2a3"), sent.end());
}

bool IsResult(const std::string& text) {
    return text.rfind("1-0 {", 0) == 0 || text.rfind("0-1 {", 0) == 0 || text.rfind("1/2-1/2 {", 0) == 0;
}

// An engine that never wakes up at its start (GNU Chess on a busy machine, now and then) is
// started again.
TEST(KelvaneTest, AnEngineThatSaysNothingAtItsStartIsStartedAgain) {
    TempDir dir;
    dir.Write("script", "on protover 2 => feature myname=\"Fake Engine\" done=1\n");
    dir.Write("engine.sh", "#!/bin/sh\nif [ ! -e started ]; then touch started; exec sleep 60; fi\nexec " +
                               std::string(FAKE_ENGINE_PATH) + "\n");
    ASSERT_EQ(::chmod(dir.File("engine.sh").c_str(), 0755), 0);
    Process kelvane({KELVANE_PATH}, dir.Path(),
                    {"KELVANE_ENGINE=" + dir.File("engine.sh"), "FAKE_ENGINE_SCRIPT=" + dir.File("script"),
                     "FAKE_ENGINE_LOG=" + dir.File("engine.log")});
    std::vector<std::string> greeting;
    for (int i = 0; i < 2; ++i) greeting.push_back(kelvane.ReadLine(30s).value_or("(none)"));
    EXPECT_EQ(greeting[1], "info       Engine: Fake Engine");
    kelvane.Send("quit");
    EXPECT_EQ(kelvane.WaitExit(10s), 0);
}

// Plays a game: the human's moves come from the listing, the engine answers each with "c3".
void PlayAgainst(const std::string& engine, const std::string& quickLevel) {
    if (!std::filesystem::exists("/usr/games/" + engine)) GTEST_SKIP() << engine << " is not installed";
    TempDir dir;
    Process core({DRAVEL_CORE_PATH}, dir.Path(),
                 {"HOME=" + dir.Path(), "KELVANE_ENGINE=" + engine + (engine == "gnuchess" ? " -x" : ""),
                  "KELVANE_LEVEL=" + quickLevel});
    auto ask = [&](const std::string& command) {
        core.Send(command);
        return core.ReadLine(120s).value_or("(no answer)");
    };
    int plies = 0;
    std::string moves;
    while (plies < 200) {
        std::vector<std::string> list;
        for (std::string entry = ask("lf"); !entry.empty(); entry = ask("ln")) list.push_back(entry);
        // Mate or stalemate, which dravel sees itself: the listing answers the result.
        if (list.empty() || IsResult(list.front())) break;
        std::string human = list[(plies * 7 + 3) % list.size()];
        ASSERT_EQ(ask("B" + human), "") << human << " after" << moves;
        moves += " " + human;
        ++plies;
        std::string answer = ask("c3");
        if (answer.rfind(" Kelvane: \\n \\n", 0) == 0) {
            std::string result = answer.substr(std::string(" Kelvane: \\n \\n").size());
            ASSERT_TRUE(IsResult(result)) << "engine move not accepted: " << answer << " after" << moves;
            break;
        }
        ASSERT_EQ(answer, "") << "after" << moves;
        moves += " " + ask("ll");
        ++plies;
    }
    EXPECT_GT(plies, 10);
    core.CloseInput();
    EXPECT_EQ(core.WaitExit(20s), 0);
    std::cout << engine << ":" << moves << "\n";
}

// Shallow searches keep the games quick; GNU Chess calls its depth limit "depth".
TEST(DravelGameTest, AgainstFairyMax) { PlayAgainst("fairymax", "sd 4"); }
TEST(DravelGameTest, AgainstGnuChess) { PlayAgainst("gnuchess", "depth 3"); }

}  // namespace
