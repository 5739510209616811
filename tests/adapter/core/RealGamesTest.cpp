// Plays whole games as a UCI host against pontax running each Debian engine: two pontax
// processes (White and Black), real clocks, pondering, every move checked by stockfish.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/support/ProcessHarness.h"
#include "tests/support/UciHost.h"

namespace {

using namespace std::chrono_literals;
using testing_support::LegalityOracle;
using testing_support::TempDir;
using testing_support::UciHost;

constexpr long long kBaseMs = 15000;
constexpr long long kIncrementMs = 100;

int MaxFullMoves() {
    const char* text = std::getenv("PONTAX_GAME_MOVES");
    return text ? std::max(1, std::atoi(text)) : 150;
}

// The example configuration for the engine, pointed at a link in the private directory.
void WriteConfiguration(const TempDir& dir, const std::string& engine, const std::string& extra) {
    std::ifstream in(std::string(EXAMPLES_DIR) + "/" + engine + ".eng");
    std::stringstream text;
    text << in.rdbuf();
    std::string config = std::regex_replace(text.str(), std::regex("/usr/games/"), "./");
    dir.Write("Pontax.eng", config + extra);
    std::filesystem::create_symlink("/usr/games/" + engine, dir.File(engine));
}

struct Player {
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<UciHost> host;
    long long clockMs = kBaseMs;
    bool pondering = false;
    std::string ponderMove;
};

std::string Moves(const std::vector<std::string>& moves) {
    std::string text = "startpos";
    if (!moves.empty()) text += " moves";
    for (const auto& move : moves) text += " " + move;
    return text;
}

std::string GoClocks(const Player& white, const Player& black) {
    return " wtime " + std::to_string(white.clockMs) + " btime " + std::to_string(black.clockMs) + " winc " +
           std::to_string(kIncrementMs) + " binc " + std::to_string(kIncrementMs);
}

// The end of a player's log, for the failure message.
std::string LogTail(const Player& player, size_t lines = 40) {
    auto log = testing_support::ReadLines(player.dir->File("Pontax.log"));
    std::string tail;
    for (size_t i = log.size() > lines ? log.size() - lines : 0; i < log.size(); ++i) tail += log[i] + "\n";
    return tail;
}

bool GameEndedByEngine(const UciHost& host) {
    for (const auto& info : host.Infos())
        if (info.rfind("info string resign", 0) == 0 || info.rfind("info string 1-0", 0) == 0 ||
            info.rfind("info string 0-1", 0) == 0 || info.rfind("info string 1/2-1/2", 0) == 0)
            return true;
    return false;
}

class RealGameTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RealGameTest, PlaysAGameWithClocksAndPondering) {
    std::string engine = GetParam();
    if (!std::filesystem::exists("/usr/games/" + engine)) GTEST_SKIP() << engine << " is not installed";
    if (!std::filesystem::exists("/usr/games/stockfish")) GTEST_SKIP() << "stockfish is not installed";
    Player players[2];
    for (auto& player : players) {
        player.dir = std::make_unique<TempDir>();
        WriteConfiguration(*player.dir, engine, "Logfile=true\n");
        player.host = std::make_unique<UciHost>(std::vector<std::string>{PONTAX_PATH}, player.dir->Path(),
                                                std::vector<std::string>{"HOME=" + player.dir->Path()});
        ASSERT_TRUE(player.host->Handshake()) << engine;
        player.host->Send("setoption name Ponder value true");
        player.host->Send("ucinewgame");
    }
    LegalityOracle oracle;
    std::vector<std::string> moves;
    for (int ply = 0; ply < 2 * MaxFullMoves(); ++ply) {
        std::vector<std::string> legal = oracle.LegalMoves(Moves(moves));
        if (legal.empty()) break;  // mate or stalemate
        Player& mover = players[ply % 2];
        Player& waiting = players[1 - ply % 2];
        auto start = std::chrono::steady_clock::now();
        if (mover.pondering && !moves.empty() && moves.back() == mover.ponderMove) {
            mover.host->Send("ponderhit");
        } else {
            if (mover.pondering) {
                mover.host->Send("stop");
                ASSERT_TRUE(mover.host->WaitBestMove(15s)) << "no bestmove after stop of a ponder search";
                start = std::chrono::steady_clock::now();
            }
            mover.host->Send("position " + Moves(moves));
            mover.host->Send("go" + GoClocks(players[0], players[1]));
        }
        mover.pondering = false;
        auto best = mover.host->WaitBestMove(std::chrono::milliseconds(mover.clockMs + 10000));
        ASSERT_TRUE(best) << engine << ": no bestmove at ply " << ply << " after " << Moves(moves) << "\n"
                          << LogTail(mover);
        long long elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        mover.clockMs -= elapsed;
        ASSERT_GT(mover.clockMs, 0) << engine << " lost on time at ply " << ply << "\n" << LogTail(mover);
        mover.clockMs += kIncrementMs;
        std::istringstream words(*best);
        std::string keyword, move, ponderWord, ponderMove;
        words >> keyword >> move >> ponderWord >> ponderMove;
        ASSERT_NE(std::find(legal.begin(), legal.end(), move), legal.end())
            << engine << ": illegal move " << move << " after " << Moves(moves) << "\n" << LogTail(mover);
        moves.push_back(move);
        if (GameEndedByEngine(*mover.host) || GameEndedByEngine(*waiting.host)) break;
        if (ponderWord == "ponder") {
            std::vector<std::string> withPonder = moves;
            withPonder.push_back(ponderMove);
            mover.host->Send("position " + Moves(withPonder));
            mover.host->Send("go ponder" + GoClocks(players[0], players[1]));
            mover.pondering = true;
            mover.ponderMove = ponderMove;
        }
    }
    for (auto& player : players) {
        if (player.pondering) {
            player.host->Send("stop");
            EXPECT_TRUE(player.host->WaitBestMove(15s));
        }
        player.host->Send("quit");
        EXPECT_EQ(player.host->Raw().WaitExit(15s), 0);
        EXPECT_TRUE(player.host->InvalidLines().empty()) << player.host->InvalidLines().front();
    }
    std::cout << engine << ": " << moves.size() << " plies: " << Moves(moves) << "\n";
}

// "go infinite" then "stop": thinking output while the engine analyses, then exactly one legal
// "bestmove".
TEST_P(RealGameTest, AnalysesUntilStopped) {
    std::string engine = GetParam();
    if (!std::filesystem::exists("/usr/games/" + engine)) GTEST_SKIP() << engine << " is not installed";
    if (!std::filesystem::exists("/usr/games/stockfish")) GTEST_SKIP() << "stockfish is not installed";
    TempDir dir;
    WriteConfiguration(dir, engine, "Logfile=true\n");
    UciHost host({PONTAX_PATH}, dir.Path(), {"HOME=" + dir.Path()});
    ASSERT_TRUE(host.Handshake());
    const std::string position = "startpos moves e2e4 c7c5 g1f3";
    host.Send("position " + position);
    host.Send("go infinite");
    std::this_thread::sleep_for(2s);
    host.Send("stop");
    auto best = host.WaitBestMove(15s);
    ASSERT_TRUE(best) << engine;
    std::string move = best->substr(9, best->find(' ', 9) - 9);
    auto legal = LegalityOracle().LegalMoves(position);
    EXPECT_NE(std::find(legal.begin(), legal.end(), move), legal.end()) << *best;
    size_t thinking = std::count_if(host.Infos().begin(), host.Infos().end(),
                                    [](const std::string& info) { return info.find(" pv ") != std::string::npos; });
    EXPECT_GT(thinking, 0u) << engine << " sent no analysis";
    host.Send("isready");
    ASSERT_TRUE(host.Raw().WaitFor("readyok"));
    const auto& seen = host.Raw().Seen();
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](const std::string& l) { return l.rfind("bestmove", 0) == 0; }),
              1);
    host.Send("quit");
    EXPECT_EQ(host.Raw().WaitExit(15s), 0);
    EXPECT_TRUE(host.InvalidLines().empty()) << host.InvalidLines().front();
}

INSTANTIATE_TEST_SUITE_P(Debian, RealGameTest,
                         ::testing::Values("fairymax", "gnuchess", "phalanx", "hoichess", "sjeng"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
