// Matches between two pontax processes running each Debian engine, judged line by line as the
// strictest UCI hosts judge them: openings with either side to move, real clocks, pondering on
// and off, every way of setting up a position; analysis with stop; ponder hits and misses.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "ChessBoard.h"
#include "tests/support/Match.h"
#include "tests/support/ProcessHarness.h"
#include "tests/support/UciHost.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Describe;
using testing_support::GameRecord;
using testing_support::MatchRules;
using testing_support::OpeningSet;
using testing_support::TempDir;
using testing_support::UciHost;
using testing_support::WithMove;

int EnvironmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::max(1, std::atoi(text)) : fallback;
}

// Games per session and plies per game, which the environment may lower.
int GamesWanted(int full) { return std::min(full, EnvironmentNumber("PONTAX_MATCH_GAMES", full)); }
int PliesWanted() { return EnvironmentNumber("PONTAX_GAME_PLIES", 60); }

// The ways each engine takes a set-up position: fairymax has only "edit", phalanx and hoichess
// only "setboard", gnuchess takes "edit" only with White to move.
std::vector<std::string> EditModes(const std::string& engine) {
    if (engine == "fairymax") return {"edit"};
    if (engine == "sjeng") return {"setboard", "edit"};
    return {"setboard"};
}

// The adapter covers an engine move it finds illegal with one of its own, so the host sees a legal
// game; against a real engine it still means the engine was not in step.
size_t IllegalEngineMoves(const UciHost& host) {
    return std::count_if(host.Infos().begin(), host.Infos().end(), [](const std::string& info) {
        return info.rfind("info string illegal engine move", 0) == 0;
    });
}

// One pontax running the engine from the example configuration, in a private directory.
struct Side {
    TempDir dir;
    std::unique_ptr<UciHost> host;

    Side(const std::string& engine, bool ponder) {
        std::ifstream in(std::string(EXAMPLES_DIR) + "/" + engine + ".eng");
        std::stringstream text;
        text << in.rdbuf();
        dir.Write("Pontax.eng",
                  std::regex_replace(text.str(), std::regex("/usr/games/"), "./") + "Logfile=true\n");
        // Every program the configuration names (PolyGlot names its engine too).
        const std::regex program("/usr/games/([A-Za-z0-9_-]+)");
        std::string config = text.str();
        for (std::sregex_iterator at(config.begin(), config.end(), program), end; at != end; ++at)
            if (!std::filesystem::exists(dir.File((*at)[1])))
                std::filesystem::create_symlink((*at)[0].str(), dir.File((*at)[1]));
        host = std::make_unique<UciHost>(std::vector<std::string>{PONTAX_PATH}, dir.Path(),
                                         std::vector<std::string>{"HOME=" + dir.Path()});
        host->Send(std::string("setoption name Ponder value ") + (ponder ? "true" : "false"));
    }
    std::string LogTail(size_t lines = 400) const {
        auto log = testing_support::ReadLines(dir.File("Pontax.log"));
        std::string tail;
        for (size_t i = log.size() > lines ? log.size() - lines : 0; i < log.size(); ++i)
            tail += log[i] + "\n";
        return tail;
    }
};

const char* const kEngines[] = {"fairymax", "gnuchess", "phalanx",         "hoichess",
                                "sjeng",    "sjaakii",  "fairy-stockfish", "polyglot"};

// Each engine starts its sessions at another opening, so that the engines together play every
// opening of the set with and without pondering.
size_t FirstOpening(const std::string& engine) {
    return static_cast<size_t>(std::find(std::begin(kEngines), std::end(kEngines), engine) -
                               std::begin(kEngines));
}

class EngineMatchTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        engine_ = GetParam();
        for (const char* program : {engine_.c_str(), "stockfish"})
            if (!std::filesystem::exists(std::string("/usr/games/") + program))
                GTEST_SKIP() << program << " is not installed";
    }

    // Plays games from the opening set, starting at `firstOpening`, with the set-up method turning
    // from game to game; every game ends regularly and neither host saw a fault.
    void PlaySession(bool ponder, int games, size_t firstOpening) {
        Side sides[2] = {Side(engine_, ponder), Side(engine_, ponder)};
        for (auto& side : sides) ASSERT_TRUE(side.host->Handshake()) << engine_;
        std::vector<std::string> editModes = EditModes(engine_);
        MatchRules rules;
        rules.ponder = ponder;
        rules.maxPlies = PliesWanted();
        for (int game = 0; game < games; ++game) {
            const auto& opening =
                OpeningSet()[(firstOpening + static_cast<size_t>(game)) % OpeningSet().size()];
            std::string edit = editModes[(firstOpening + static_cast<size_t>(game)) % editModes.size()];
            for (auto& side : sides) side.host->Send("setoption name Edit value " + edit);
            UciHost* hosts[2] = {sides[0].host.get(), sides[1].host.get()};
            GameRecord record = PlayGame(hosts, opening.position, rules);
            std::string moves;
            for (const auto& move : record.moves) moves += " " + move;
            std::cout << engine_ << " " << opening.name << " (" << edit << ", ponder " << ponder
                      << "): " << record.end << " after " << record.moves.size() << " plies, ponder hits "
                      << record.ponderHits << ", misses " << record.ponderMisses << ":" << moves << "\n";
            for (int colour = 0; colour < 2; ++colour)
                EXPECT_TRUE(sides[colour].host->Violations().empty())
                    << engine_ << " " << opening.name << (colour ? " Black" : " White") << ":\n"
                    << Describe(sides[colour].host->Violations()) << sides[colour].LogTail();
            for (int colour = 0; colour < 2; ++colour)
                EXPECT_EQ(IllegalEngineMoves(*sides[colour].host), 0u)
                    << engine_ << " " << opening.name << (colour ? " Black" : " White") << "\n"
                    << sides[colour].LogTail();
            ASSERT_FALSE(record.Failed()) << engine_ << " " << opening.name << ": " << record.end << "\n"
                                          << sides[0].LogTail() << "----\n"
                                          << sides[1].LogTail();
        }
        for (auto& side : sides) {
            EXPECT_EQ(side.host->Quit(), 0);
            EXPECT_TRUE(side.host->Violations().empty()) << Describe(side.host->Violations());
        }
    }

    std::string engine_;
};

TEST_P(EngineMatchTest, GamesWithPondering) { PlaySession(true, GamesWanted(1), FirstOpening(engine_)); }

TEST_P(EngineMatchTest, GamesWithoutPondering) {
    PlaySession(false, GamesWanted(1), FirstOpening(engine_) + 3);
}

// White's engine is killed in the middle of the game; its pontax starts it again, and the game goes
// on to its end without a fault.
TEST_P(EngineMatchTest, AnEngineKilledInTheMiddleOfAGameIsStartedAgain) {
    Side sides[2] = {Side(engine_, true), Side(engine_, true)};
    for (auto& side : sides) ASSERT_TRUE(side.host->Handshake()) << engine_;
    std::atomic<bool> killed{false}, over{false};
    // Killed when White's pontax has been asked for its sixth move.
    std::thread killer([&] {
        auto searches = [&] {
            auto log = testing_support::ReadLines(sides[0].dir.File("Pontax.log"));
            return std::count_if(log.begin(), log.end(),
                                 [](const std::string& l) { return l.find("C> go") != std::string::npos; });
        };
        while (!over && searches() < 6) std::this_thread::sleep_for(20ms);
        for (pid_t pid : testing_support::ProcessesIn(sides[0].dir.Path()))
            if (!over && pid != sides[0].host->Raw().Pid() && ::kill(pid, SIGKILL) == 0) killed = true;
    });
    MatchRules rules;
    rules.maxPlies = std::min(PliesWanted(), 30);
    UciHost* hosts[2] = {sides[0].host.get(), sides[1].host.get()};
    GameRecord record = PlayGame(hosts, OpeningSet()[0].position, rules);
    over = true;
    killer.join();
    EXPECT_TRUE(killed);
    for (int colour = 0; colour < 2; ++colour) {
        EXPECT_TRUE(sides[colour].host->Violations().empty())
            << engine_ << (colour ? " Black" : " White") << ":\n"
            << Describe(sides[colour].host->Violations()) << sides[colour].LogTail();
        EXPECT_EQ(IllegalEngineMoves(*sides[colour].host), 0u) << sides[colour].LogTail();
    }
    EXPECT_FALSE(record.Failed()) << engine_ << ": " << record.end << "\n" << sides[0].LogTail();
    // A game from the book can end while the engine is still being started again.
    auto restarted = [&] {
        return sides[0].LogTail(100000).find("The engine was started again.") != std::string::npos;
    };
    for (int i = 0; i < 1000 && !restarted(); ++i) std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(restarted()) << sides[0].LogTail();
    for (auto& side : sides) EXPECT_EQ(side.host->Quit(), 0);
}

// "go infinite" then "stop" from positions with either side to move: analysis lines while the
// engine analyses, then exactly one legal "bestmove", and the engine still plays afterwards.
TEST_P(EngineMatchTest, AnalysesUntilStopped) {
    Side side(engine_, false);
    ASSERT_TRUE(side.host->Handshake());
    for (const std::string& position : std::vector<std::string>{
             "startpos moves e2e4 c7c5 g1f3", OpeningSet()[2].position, OpeningSet()[3].position}) {
        size_t before = side.host->Infos().size();
        side.host->Send("position " + position);
        side.host->Send("go infinite");
        std::this_thread::sleep_for(1500ms);
        // A loaded machine may slow the engine's first variation down; a host waits for it.
        auto analysed = [&] {
            return std::any_of(
                side.host->Infos().begin() + static_cast<long>(before), side.host->Infos().end(),
                [](const std::string& info) { return info.find(" pv ") != std::string::npos; });
        };
        for (auto deadline = std::chrono::steady_clock::now() + 10s;
             !analysed() && std::chrono::steady_clock::now() < deadline;)
            side.host->ReadLine(200ms);
        side.host->Send("stop");
        ASSERT_TRUE(side.host->WaitBestMove(15s)) << engine_ << " " << position << "\n" << side.LogTail();
        size_t lines =
            std::count_if(side.host->Infos().begin() + static_cast<long>(before), side.host->Infos().end(),
                          [](const std::string& info) { return info.find(" pv ") != std::string::npos; });
        EXPECT_GT(lines, 0u) << engine_ << " sent no analysis of " << position;
    }
    side.host->Send("position startpos moves e2e4");
    side.host->Send("go wtime 5000 btime 5000");
    EXPECT_TRUE(side.host->WaitBestMove(20s)) << engine_ << " does not play after analysis\n"
                                              << side.LogTail();
    EXPECT_EQ(side.host->Quit(), 0);
    EXPECT_TRUE(side.host->Violations().empty()) << Describe(side.host->Violations()) << side.LogTail();
    EXPECT_EQ(IllegalEngineMoves(*side.host), 0u) << side.LogTail();
}

// A ponder hit, then a ponder miss on a move other than the announced one, as a host that lets
// its user choose the ponder move does; from positions with either side to move.
TEST_P(EngineMatchTest, PonderHitsAndMisses) {
    Side side(engine_, true);
    ASSERT_TRUE(side.host->Handshake());
    UciHost& host = *side.host;
    const std::string clocks = " wtime 4000 btime 4000";
    // The best move and the ponder move of the search the line before started.
    auto answer = [&]() -> std::pair<std::string, std::string> {
        auto best = host.WaitBestMove(15s);
        if (!best) return {};
        std::istringstream words(*best);
        std::string keyword, move, ponderWord, ponderMove;
        words >> keyword >> move >> ponderWord >> ponderMove;
        return {move, ponderMove};
    };
    // The announced ponder move, or the first legal reply when there is none.
    auto ponderOn = [&](const std::string& position, const std::string& announced) {
        return announced.empty() ? host.Oracle().LegalMoves(position).front() : announced;
    };
    for (const auto& opening : {OpeningSet()[0], OpeningSet()[2]}) {
        std::string position = opening.position;
        host.Send("position " + position);
        host.Send("go" + clocks);
        auto [move, ponder] = answer();
        ASSERT_FALSE(move.empty()) << side.LogTail();
        position = WithMove(position, move);
        position = WithMove(position, ponderOn(position, ponder));
        host.Send("position " + position);
        host.Send("go ponder" + clocks);
        std::this_thread::sleep_for(700ms);
        host.Send("ponderhit");
        std::tie(move, ponder) = answer();
        ASSERT_FALSE(move.empty()) << "no bestmove after ponderhit\n" << side.LogTail();
        position = WithMove(position, move);
        std::string pondered = ponderOn(position, ponder);
        std::vector<std::string> replies = host.Oracle().LegalMoves(position);
        ASSERT_GE(replies.size(), 2u);
        std::string played = replies.front() == pondered ? replies.back() : replies.front();
        host.Send("position " + WithMove(position, pondered));
        host.Send("go ponder" + clocks);
        std::this_thread::sleep_for(700ms);
        host.Send("stop");
        ASSERT_FALSE(answer().first.empty()) << "no bestmove after stop of a ponder search\n"
                                             << side.LogTail();
        host.Send("position " + WithMove(position, played));
        host.Send("go" + clocks);
        ASSERT_FALSE(answer().first.empty()) << "no bestmove after a ponder miss\n" << side.LogTail();
    }
    EXPECT_EQ(host.Quit(), 0);
    EXPECT_TRUE(host.Violations().empty()) << Describe(host.Violations()) << side.LogTail();
    EXPECT_EQ(IllegalEngineMoves(host), 0u) << side.LogTail();
}

// Fairy-Max takes exclusion lists: a host's "searchmoves" confines its searches and its analysis,
// and the search after them may play any move again.
TEST(SearchMovesTest, FairyMaxSearchesOnlyTheMovesTheHostAllows) {
    for (const char* program : {"fairymax", "stockfish"})
        if (!std::filesystem::exists(std::string("/usr/games/") + program))
            GTEST_SKIP() << program << " is not installed";
    Side side("fairymax", false);
    UciHost& host = *side.host;
    ASSERT_TRUE(host.Handshake());
    struct Case {
        const char* position;
        const char* go;
        std::set<std::string> allowed;
    };
    for (const Case& test :
         {Case{"startpos", "go wtime 3000 btime 3000 searchmoves a2a3 h2h4", {"a2a3", "h2h4"}},
          Case{"startpos moves e2e4", "go movetime 500 searchmoves a7a6 h7h5", {"a7a6", "h7h5"}},
          Case{"startpos moves e2e4 e7e5", "go infinite searchmoves b1a3", {"b1a3"}}}) {
        host.Send(std::string("position ") + test.position);
        host.Send(test.go);
        if (std::string(test.go).find("infinite") != std::string::npos) {
            std::this_thread::sleep_for(1s);
            host.Send("stop");
        }
        auto best = host.WaitBestMove(15s);
        ASSERT_TRUE(best) << test.position << "\n" << side.LogTail();
        std::string move = best->substr(9, best->find(' ', 9) - 9);
        EXPECT_EQ(test.allowed.count(move), 1u) << *best << "\n" << side.LogTail();
    }
    host.Send("position startpos moves e2e4 e7e5 g1f3");
    host.Send("go wtime 3000 btime 3000");
    EXPECT_TRUE(host.WaitBestMove(15s));
    EXPECT_EQ(host.Quit(), 0);
    EXPECT_TRUE(host.Violations().empty()) << Describe(host.Violations()) << side.LogTail();
    auto log = testing_support::ReadLines(side.dir.File("Pontax.log"));
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.find("include all") != std::string::npos;
    })) << side.LogTail();
}

// Chess960 start positions with the king on every file from b to g, castling fields in X-FEN and
// in Shredder-FEN.
const std::vector<std::string> kChess960Starts = {
    "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w HFhf - 0 1",
    "rkbnqbnr/pppppppp/8/8/8/8/PPPPPPPP/RKBNQBNR w KQkq - 0 1",
    "nrbkqnrb/pppppppp/8/8/8/8/PPPPPPPP/NRBKQNRB w GBgb - 0 1",
    "qnrbkrbn/pppppppp/8/8/8/8/PPPPPPPP/QNRBKRBN w KQkq - 0 1",
    "rnkbbqnr/pppppppp/8/8/8/8/PPPPPPPP/RNKBBQNR w HAha - 0 1",
    "brkrqnnb/pppppppp/8/8/8/8/PPPPPPPP/BRKRQNNB w KQkq - 0 1",
    "rbbqknrn/pppppppp/8/8/8/8/PPPPPPPP/RBBQKNRN w GAga - 0 1",
    "nqrkbbrn/pppppppp/8/8/8/8/PPPPPPPP/NQRKBBRN w KQkq - 0 1",
    "rkrnnqbb/pppppppp/8/8/8/8/PPPPPPPP/RKRNNQBB w KQkq - 0 1",
};

// The castlings of a game, as "White O-O" and the like.
std::vector<std::string> Castlings(const std::string& fen, const std::vector<std::string>& moves) {
    pontax::ChessBoard board;
    board.chess960 = true;
    board.SetFen(fen);
    std::vector<std::string> castlings;
    for (const auto& text : moves) {
        pontax::MoveRecord move = board.ParseSan(text);
        if (move.flags & pontax::move_flag::kCastling)
            castlings.push_back(std::string(board.sideToMove == pontax::kWhite ? "White " : "Black ") +
                                (move.to < move.from ? "O-O-O" : "O-O"));
        board.MakeMove(move, true);
    }
    return castlings;
}

// An engine that plays Chess960, how to reach the same engine as a UCI engine if it is one, and
// its first start position: each engine plays other ones.
struct Chess960Engine {
    const char* name;
    const char* direct;
    size_t firstStart;
};

void PrintTo(const Chess960Engine& engine, std::ostream* out) { *out << engine.name; }

class Chess960MatchTest : public ::testing::TestWithParam<Chess960Engine> {};

// Games from three start positions each, against another pontax and against the engine spoken to
// directly, with pondering on and off; every line pontax sends passes the strict host.
TEST_P(Chess960MatchTest, GamesFromChess960StartPositions) {
    const Chess960Engine engine = GetParam();
    for (const char* program : {engine.name, "stockfish"})
        if (!std::filesystem::exists(std::string("/usr/games/") + program))
            GTEST_SKIP() << program << " is not installed";
    for (int game = 0; game < GamesWanted(3); ++game) {
        bool ponder = game != 1;
        bool direct = game == 1 && engine.direct;
        Side side(engine.name, ponder);
        ASSERT_TRUE(side.host->Handshake()) << engine.name;
        ASSERT_TRUE(side.host->Offered("UCI_Chess960")) << side.LogTail();
        std::unique_ptr<Side> otherSide;
        std::unique_ptr<UciHost> directHost;
        UciHost* other;
        if (direct) {
            directHost = std::make_unique<UciHost>(std::vector<std::string>{engine.direct}, "/tmp");
            other = directHost.get();
        } else {
            otherSide = std::make_unique<Side>(engine.name, ponder);
            other = otherSide->host.get();
        }
        ASSERT_TRUE(other->Handshake());
        MatchRules rules;
        rules.chess960 = true;
        rules.ponder = ponder;
        // Long enough for both sides to castle in most games.
        rules.baseMs = 3000;
        rules.maxPlies = std::min(PliesWanted(), 40);
        const std::string& fen =
            kChess960Starts[(engine.firstStart + static_cast<size_t>(game)) % kChess960Starts.size()];
        // pontax plays White in even games, Black in odd ones.
        UciHost* hosts[2] = {side.host.get(), other};
        if (game % 2) std::swap(hosts[0], hosts[1]);
        GameRecord record = PlayGame(hosts, "fen " + fen, rules);
        std::string moves, castled;
        for (const auto& move : record.moves) moves += " " + move;
        for (const auto& castling : Castlings(fen, record.moves)) castled += " " + castling;
        std::cout << engine.name << " Chess960 " << fen << " against " << (direct ? engine.direct : "pontax")
                  << " (ponder " << ponder << "): " << record.end << " after " << record.moves.size()
                  << " plies; castled:" << (castled.empty() ? " none" : castled) << ";" << moves << "\n";
        std::vector<Side*> pontaxSides = {&side};
        if (otherSide) pontaxSides.push_back(otherSide.get());
        for (Side* judged : pontaxSides) {
            EXPECT_TRUE(judged->host->Violations().empty())
                << engine.name << " " << fen << ":\n"
                << Describe(judged->host->Violations()) << judged->LogTail();
            EXPECT_EQ(IllegalEngineMoves(*judged->host), 0u) << judged->LogTail(100000);
        }
        ASSERT_FALSE(record.Failed()) << engine.name << " " << fen << ": " << record.end << "\n"
                                      << side.LogTail();
        for (Side* judged : pontaxSides) EXPECT_EQ(judged->host->Quit(), 0);
        if (directHost) directHost->Quit();
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, Chess960MatchTest,
                         ::testing::Values(Chess960Engine{"fairy-stockfish", "/usr/games/fairy-stockfish", 0},
                                           Chess960Engine{"sjaakii", nullptr, 3},
                                           Chess960Engine{"polyglot", "/usr/games/stockfish", 6}),
                         [](const auto& info) { return testing_support::TestName(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Debian, EngineMatchTest, ::testing::ValuesIn(kEngines),
                         [](const auto& info) { return testing_support::TestName(info.param); });

}  // namespace
