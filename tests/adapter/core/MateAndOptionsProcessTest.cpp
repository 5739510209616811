// Mate scores and the engine's own options through the real pontax binary: with the scripted
// fake engine, each key on and off, and with Debian's engines as their shipped configurations
// set them up.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "tests/adapter/core/FakeEngineTest.h"

namespace {

using namespace std::chrono_literals;
using testing_support::AnyLineHas;
using testing_support::FakeEngineTest;
using testing_support::Lines;
using testing_support::ReadLines;
using testing_support::TempDir;
using testing_support::UciHost;

size_t Count(const Lines& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// The engine plays Black after 1.e4 and announces a mate in 2 for itself, then one against it.
constexpr const char* kMateThinking =
    "on go => 3 {win} 10 1000 e7e5\\n4 {loss} 20 2000 e7e5 g1f3\\nmove e7e5\n";

std::string Thinking(const std::string& win, const std::string& loss) {
    std::string script = kMateThinking;
    script.replace(script.find("{win}"), 5, win);
    script.replace(script.find("{loss}"), 6, loss);
    return script;
}

class MateScoreProcessTest : public FakeEngineTest {
protected:
    Lines Search() {
        Position("startpos moves e2e4");
        Go(" wtime 60000 btime 60000");
        return UntilBestMove();
    }
};

TEST_F(MateScoreProcessTest, TheProtocolsMateScoresBecomeMateInMoves) {
    Start("", "MateScores=1\n", Thinking("100002", "-100001"));
    Lines lines = Search();
    EXPECT_TRUE(AnyLineHas(lines, "info depth 3 score mate 2 time 100 ")) << testing::PrintToString(lines);
    EXPECT_TRUE(AnyLineHas(lines, "info depth 4 score mate -1 time 200 ")) << testing::PrintToString(lines);
}

TEST_F(MateScoreProcessTest, AnEnginesOwnBandIsCountedInPlies) {
    Start("", "MateScores=1\nMateBand=10000\n", Thinking("9997", "-9996"));
    Lines lines = Search();
    EXPECT_TRUE(AnyLineHas(lines, " score mate 2 ")) << testing::PrintToString(lines);
    EXPECT_TRUE(AnyLineHas(lines, " score mate -2 ")) << testing::PrintToString(lines);
}

TEST_F(MateScoreProcessTest, WhiteScoreTurnsTheMateToWhitesView) {
    Start("", "MateScores=1\nWhiteScore=true\n", Thinking("100002", "-100001"));
    Lines lines = Search();
    EXPECT_TRUE(AnyLineHas(lines, " score mate -2 ")) << testing::PrintToString(lines);
    EXPECT_TRUE(AnyLineHas(lines, " score mate 1 ")) << testing::PrintToString(lines);
}

TEST_F(MateScoreProcessTest, WithoutTheKeyScoresStayCentipawns) {
    Start("", "", Thinking("100002", "-100001"));
    Lines lines = Search();
    EXPECT_TRUE(AnyLineHas(lines, " score cp 100002 ")) << testing::PrintToString(lines);
    EXPECT_FALSE(AnyLineHas(lines, " mate ")) << testing::PrintToString(lines);
}

constexpr const char* kOptionFeatures =
    R"(option="Style -combo Solid /// *Wild" option="Hash -spin 64 1 1024" option="Clear Hash -button")";

class EngineOptionsProcessTest : public FakeEngineTest {
protected:
    Lines UciAnswer() {
        host_->Send("uci");
        Lines lines;
        while (auto line = host_->ReadLine(10s)) {
            lines.push_back(*line);
            if (*line == "uciok") break;
        }
        return lines;
    }
};

TEST_F(EngineOptionsProcessTest, TheEnginesOptionsArriveBeforeUciokAndReachTheEngine) {
    Launch(kOptionFeatures, "EngineOptions=1\n", "");
    Lines answer = UciAnswer();
    ASSERT_EQ(answer.back(), "uciok");
    EXPECT_EQ(Count(answer, "option name Style type combo default Wild var Solid var Wild"), 1u);
    EXPECT_EQ(Count(answer, "option name Engine Hash type spin default 64 min 1 max 1024"), 1u);
    EXPECT_EQ(Count(answer, "option name Clear Hash type button"), 1u);
    EXPECT_EQ(Count(answer, "option name Hash type spin default 2 min 0 max 256"), 1u);
    host_->Send("setoption name Style value Solid");
    host_->Send("setoption name Engine Hash value 128");
    host_->Send("setoption name Clear Hash");
    host_->Send("isready");
    ASSERT_TRUE(host_->WaitFor("readyok"));
    Lines engine = EngineGot(3);
    EXPECT_EQ(Count(engine, "option Style=Solid"), 1u) << testing::PrintToString(engine);
    EXPECT_EQ(Count(engine, "option Hash=128"), 1u);
    EXPECT_EQ(Count(engine, "option Clear Hash"), 1u);
    // Started once, at "uci".
    EXPECT_EQ(Count(engine, "protover 2"), 1u);
}

TEST_F(EngineOptionsProcessTest, WithoutTheKeyTheEngineStartsAtIsreadyAndItsOptionsStayHidden) {
    Launch(kOptionFeatures, "", "");
    Lines answer = UciAnswer();
    EXPECT_EQ(answer.size(), 29u) << testing::PrintToString(answer);  // id name, id author, 26 options, uciok
    EXPECT_FALSE(AnyLineHas(answer, "Style"));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("engine.log")));
    host_->Send("isready");
    ASSERT_TRUE(host_->WaitFor("readyok"));
    EXPECT_EQ(Count(EngineGot(1), "protover 2"), 1u);
}

// Debian's engines, each with its shipped configuration and a log.
class ShippedConfigurationTest : public ::testing::TestWithParam<const char*> {
protected:
#ifdef ONE_ENGINE_ONLY
    // The sanitizers watch pontax, which does the same for every engine.
    void SetUp() override {
        if (std::string(GetParam()) != "fairymax") GTEST_SKIP() << "one engine suffices in this build";
    }
#endif
    void Start(const std::string& extraKeys = "") {
        std::string engine = GetParam();
        std::ifstream in(std::string(EXAMPLES_DIR) + "/" + engine + ".eng");
        std::stringstream text;
        text << in.rdbuf();
        dir_.Write("Pontax.eng", text.str() + "Logfile=true\n" + extraKeys);
        host_ = std::make_unique<UciHost>(std::vector<std::string>{PONTAX_PATH}, dir_.Path(),
                                          std::vector<std::string>{"HOME=" + dir_.Path()});
    }
    void TearDown() override {
        if (!host_) return;
        if (HasFailure())
            for (const auto& line : ReadLines(dir_.File("Pontax.log"))) std::cout << "log: " << line << "\n";
        EXPECT_EQ(host_->Quit(15s), 0);
        EXPECT_TRUE(host_->Violations().empty()) << testing_support::Describe(host_->Violations());
    }
    // Whether the engine has ended its feature announcement with done=1 within `limit`: a start on
    // a busy machine may outlast the adapter's wait for it.
    bool WaitForEngineFeatures(std::chrono::milliseconds limit) {
        auto announced = [&] {
            Lines log = ReadLines(dir_.File("Pontax.log"));
            return std::any_of(log.begin(), log.end(), [](const std::string& line) {
                return line.find("S> feature") != std::string::npos &&
                       line.find("done=1") != std::string::npos;
            });
        };
        for (auto deadline = std::chrono::steady_clock::now() + limit;
             !announced() && std::chrono::steady_clock::now() < deadline;)
            std::this_thread::sleep_for(50ms);
        return announced();
    }
    // The score of the last variation before the move, as "mate N" or "cp N".
    std::string FinalScore(const std::string& fen) {
        host_->Send("position fen " + fen);
        host_->Send("go movetime 1500");
        std::string score;
        while (auto line = host_->ReadLine(15s)) {
            if (line->rfind("bestmove", 0) == 0) break;
            size_t at = line->find(" score ");
            if (at == std::string::npos || line->find(" pv ") == std::string::npos) continue;
            std::istringstream words(line->substr(at + 7));
            std::string kind, value;
            words >> kind >> value;
            score = kind + " " + value;
        }
        return score;
    }

    TempDir dir_;
    std::unique_ptr<UciHost> host_;
};

TEST_P(ShippedConfigurationTest, MatesAreReportedAsMates) {
    Start();
    ASSERT_TRUE(host_->Handshake());
    // The thinking is read once the engine has ended its start. On a busy machine GNU Chess can
    // take longer than the adapter waits for it, and hold its answer back until more lines
    // arrive: a first search gives it those, and the adapter answers that search itself.
    host_->Send("position startpos");
    host_->Send("go movetime 100");
    ASSERT_TRUE(host_->WaitBestMove(15s));
    ASSERT_TRUE(WaitForEngineFeatures(15s));
    EXPECT_EQ(FinalScore("k7/8/2K5/8/8/8/8/7R w - - 0 1"), "mate 2");
    EXPECT_EQ(FinalScore("1k6/8/1K6/8/8/8/8/7R b - - 0 1"), "mate -2");
}

// Whatever the engine announces is offered, and a value set reaches it.
TEST_P(ShippedConfigurationTest, TheEnginesOwnOptionsAreOfferedAndSet) {
    Start("EngineOptions=1\n");
    host_->Send("uci");
    Lines options;
    while (auto line = host_->ReadLine(15s)) {
        if (*line == "uciok") break;
        if (line->rfind("option ", 0) == 0) options.push_back(*line);
    }
    Lines log = ReadLines(dir_.File("Pontax.log"));
    Lines announced;
    for (const auto& line : log)
        if (line.find("S> feature") != std::string::npos && line.find("option=") != std::string::npos)
            announced.push_back(line);
    std::string engine = GetParam();
    if (engine == "fairymax") {
        EXPECT_EQ(Count(options, "option name Resign Threshold type spin default 800 min 200 max 1200"), 1u);
        EXPECT_EQ(
            Count(options,
                  "option name Makruk rules type combo default makruk var makruk var Cambodian var Ai-wok"),
            1u);
        host_->Send("setoption name Resign Threshold value 500");
    } else if (engine == "phalanx") {
        EXPECT_EQ(Count(options, "option name Randomizer (0-50) type spin default 0 min 0 max 50"), 1u);
        host_->Send("setoption name Randomizer (0-50) value 10");
    } else if (announced.empty()) {
        EXPECT_EQ(options.size(), 26u) << engine << " announces no option of its own";
    } else {
        EXPECT_GT(options.size(), 26u);
    }
    host_->Send("isready");
    ASSERT_TRUE(host_->WaitFor("readyok", 15s));
    host_->Send("position startpos");
    host_->Send("go movetime 300");
    EXPECT_TRUE(host_->WaitBestMove(15s));
    log = ReadLines(dir_.File("Pontax.log"));
    if (engine == "fairymax") {
        EXPECT_TRUE(AnyLineHas(log, "S< option Resign Threshold=500"));
    } else if (engine == "phalanx") {
        EXPECT_TRUE(AnyLineHas(log, "S< option Randomizer (0-50)=10"));
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, ShippedConfigurationTest,
                         ::testing::Values("fairymax", "gnuchess", "phalanx", "hoichess", "sjeng", "sjaakii",
                                           "fairy-stockfish", "polyglot"),
                         [](const auto& info) { return testing_support::TestName(info.param); });

}  // namespace
