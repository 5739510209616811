// The real pontax binary playing and analysing against the scripted fake engine: the exact
// commands the engine receives and the UCI lines the GUI receives.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <thread>

#include "tests/adapter/core/FakeEngineTest.h"

namespace {

using namespace std::chrono_literals;
using testing_support::AnyLineHas;
using testing_support::ReadLines;
using testing_support::TempDir;
using testing_support::UciHost;
using Lines = std::vector<std::string>;

constexpr const char* kStart = "startpos";
constexpr const char* kClocks = " wtime 300000 btime 300000";

class SearchTest : public testing_support::FakeEngineTest {};

// For a test that ends in the middle of a search: the "quit" stops it with "?", which the engine
// then answers at once with this move, instead of the adapter waiting for an engine that does not.
std::string MovesWhenStopped(const std::string& move) { return "on ? => move " + move + "\n"; }

TEST_F(SearchTest, FirstSearchThenTheOpponentsReplyOnly) {
    Start("time=1", "Edit=edit\n", "on go => move e2e4\non e7e5 => move g1f3\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "bestmove e2e4"}));
    EXPECT_EQ(EngineGot(), (Lines{"force", "new", "post", "hard", "easy", "force", "level 0 5 0",
                                  "time 30000", "otim 30000", "go"}));
    Position("startpos moves e2e4 e7e5");
    Go(" wtime 290000 btime 295000");
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "bestmove g1f3"}));
    EXPECT_EQ(EngineGot(), (Lines{"time 29000", "otim 29500", "e7e5"}));
}

TEST_F(SearchTest, DepthCarriesOverAndMovetimeBecomesSt) {
    Start("", "", "on go => move e2e4\n");
    Position(kStart);
    Go(" depth 5 movetime 2400");
    UntilBestMove();
    Lines first = EngineGot();
    EXPECT_EQ(Lines(first.end() - 3, first.end()), (Lines{"sd 5", "st 2", "go"}));
    Position(kStart);
    Go(kClocks);
    UntilBestMove();
    Lines second = EngineGot();
    EXPECT_NE(std::find(second.begin(), second.end(), "sd 99"), second.end());
}

// GNU Chess announces its move twice; the second can arrive after the next search has reset the
// engine's game, and belongs to the game the reset replaced.
TEST_F(SearchTest, AMoveFromBeforeAResetLeavesTheNewGameAlone) {
    std::string pongs;
    for (int i = 1; i <= 4; ++i)
        pongs += "on ping " + std::to_string(i) + " => pong " + std::to_string(i) + "\n";
    Start("ping=1", "",
          pongs + "on go => 4 20 10 1000 e7e5 g1f3\\nmove e7e5\non go => !sleep 1000\non go => move e7e5\n");
    Position("startpos moves e2e4");
    Go(kClocks);
    UntilBestMove();
    Position("fen rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq - 0 1");
    Go(kClocks);
    Lines lines = UntilBestMove();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "info depth 4 score cp 20 time 100 nodes 1000 nps 10000 pv e7e5 g1f3"),
              lines.end())
        << testing::PrintToString(lines);
    EXPECT_EQ(lines.back(), "bestmove e7e5 ponder g1f3") << testing::PrintToString(lines);
    EXPECT_FALSE(LogHas("Move discarded, it was written before the search began."));
}

// Engines read "st 0" as no limit at all, which would lose the game on time.
TEST_F(SearchTest, AMovetimeBelowHalfASecondIsOneSecondNotNone) {
    Start("", "", "on go => move e2e4\n");
    Position(kStart);
    Go(" movetime 300");
    UntilBestMove();
    Lines got = EngineGot();
    EXPECT_EQ(Lines(got.end() - 2, got.end()), (Lines{"st 1", "go"}));
}

TEST_F(SearchTest, AnalysisUndoesTakenBackMovesWithoutNew) {
    Start("analyze=1", "", "");
    Position("startpos moves e2e4 e7e5 g1f3");
    Go(" infinite");
    EXPECT_EQ(EngineGot(9),
              (Lines{"force", "new", "post", "hard", "easy", "force", "e2e4", "e7e5", "g1f3", "analyze"}));
    host_->Send("stop");
    EXPECT_EQ(UntilBestMove().back(), "bestmove a7a6");
    Position("startpos moves e2e4");
    Go(" infinite");
    EXPECT_EQ(EngineGot(7), (Lines{"exit", "xboard", "force", "force", "undo", "undo", "analyze"}));
}

// An engine that does not know "undo" says so instead of announcing it: the first refusal is
// enough, and the next analysis sets the position up anew.
TEST_F(SearchTest, AnEngineThatRefusesUndoGetsItsPositionsSetUpAnew) {
    Start("analyze=1", "", "on undo => Error (unknown command): undo\n");
    Position("startpos moves e2e4 e7e5 g1f3 b8c6");
    Go(" infinite");
    EngineGot(11);
    host_->Send("stop");
    UntilBestMove();
    Position("startpos moves e2e4 e7e5");
    Go(" infinite");
    EXPECT_EQ(EngineGot(7), (Lines{"exit", "xboard", "force", "force", "undo", "undo", "analyze"}));
    host_->Send("stop");
    UntilBestMove();
    Position("startpos moves e2e4");
    Go(" infinite");
    EXPECT_EQ(EngineGot(11), (Lines{"exit", "xboard", "force", "force", "new", "post", "hard", "easy",
                                    "force", "e2e4", "analyze"}));
    EXPECT_TRUE(LogHas("The engine refused \"undo\": positions are set up anew from now on."));
}

// An engine that does not know "analyze": the host's analysis becomes an untimed search at once,
// whose move answers "stop", and later analyses are untimed searches from the start.
TEST_F(SearchTest, AnEngineThatRefusesAnalyzeSearchesUntimedInstead) {
    Start("analyze=1", "",
          "on analyze => Error (unknown command): analyze\non go => 4 30 10 2000 c7c5 g1f3\n" +
              MovesWhenStopped("c7c5"));
    Position("startpos moves e2e4");
    Go(" infinite");
    EXPECT_EQ(EngineGot(10), (Lines{"force", "new", "post", "hard", "easy", "force", "e2e4", "analyze",
                                    "level 0 1440 0", "go"}));
    host_->Send("stop");
    Lines answer = UntilBestMove();
    EXPECT_EQ(answer.back(), "bestmove c7c5 ponder g1f3");
    EXPECT_NE(std::find(answer.begin(), answer.end(),
                        "info depth 4 score cp 30 time 100 nodes 2000 nps 20000 pv c7c5 g1f3"),
              answer.end());
    Position("startpos moves d2d4");
    Go(" infinite");
    Lines second = EngineGot(4);
    EXPECT_EQ(std::find(second.begin(), second.end(), "analyze"), second.end());
    EXPECT_TRUE(LogHas("The engine refused \"analyze\": analysis is an untimed search from now on."));
}

// A Chess960 game through the real binary: the option offered at "uci", the variant and the X-FEN
// set-up, the host's castling passed on, and the engine's "O-O" back as the king taking its rook.
TEST_F(SearchTest, AChess960GameCastlesBothWays) {
    Start("variants=\"normal,fischerandom\"", "EngineOptions=1\n", "on go => move O-O-O\n");
    ASSERT_TRUE(host_->Offered("UCI_Chess960"));
    host_->Send("setoption name UCI_Chess960 value true");
    Position("fen nrbkqnrb/pppppppp/8/8/8/8/PPPPPPPP/NRBKQNRB w GBgb - 0 1 moves d2d4 d7d5 c1f4 c8f5 d1b1");
    Go(" wtime 60000 btime 60000");
    Lines engine = EngineGot(17);
    for (const char* line :
         {"variant fischerandom", "setboard nrbkqnrb/pppppppp/8/8/8/8/PPPPPPPP/NRBKQNRB w KQkq - 0 1", "c8f5",
          "d1b1"})
        EXPECT_NE(std::find(engine.begin(), engine.end(), line), engine.end()) << line;
    EXPECT_EQ(UntilBestMove().back(), "bestmove d8b8");
}

TEST_F(SearchTest, FirstInfiniteSearchAfterOneWhiteMove) {
    Start("time=1", "Edit=edit\n", MovesWhenStopped("g1f3"));
    Position("startpos moves e2e4");
    Go(" infinite");
    EXPECT_EQ(EngineGot(7), (Lines{"force", "new", "post", "hard", "easy", "force", "e2e4", "analyze"}));
    host_->Send("stop");
    EXPECT_EQ(UntilBestMove().back(), "bestmove a7a6");
    // Some engines leave xboard mode with analysis; all are put back in step and in force mode.
    EXPECT_EQ(EngineGot(3), (Lines{"exit", "xboard", "force"}));
    // So the next search must start the engine itself.
    Position("startpos moves e2e4 c7c5");
    Go(kClocks);
    EXPECT_EQ(EngineGot(4), (Lines{"c7c5", "time 30000", "otim 30000", "go"}));
}

// An engine that goes on analysing for a while after "exit": what it writes until it answers the
// ping after "exit" never reaches the next search.
TEST_F(SearchTest, AnAnalysisEndsWhenTheEngineShowsItHasStopped) {
    Start("ping=1", "",
          "answer-ping\non analyze => 3 55 10 1000 e7e5\non exit => !sleep 300\n"
          "on exit => 4 777 40 9999 e7e6\non go => move c7c5\n");
    Position("startpos moves e2e4");
    Go(" infinite");
    Lines analysis = GuiFor(500ms);
    EXPECT_TRUE(AnyLineHas(analysis, "pv e7e5")) << testing::PrintToString(analysis);
    host_->Send("stop");
    EXPECT_EQ(UntilBestMove().back(), "bestmove e7e5");
    Position("startpos moves e2e4");
    Go(kClocks);
    Lines next = UntilBestMove();
    EXPECT_EQ(next.back(), "bestmove c7c5");
    EXPECT_FALSE(AnyLineHas(next, "777")) << testing::PrintToString(next);
    EXPECT_NE(std::find(EngineLines().begin(), EngineLines().end(), "ping 2"), EngineLines().end());
}

TEST_F(SearchTest, ThinkingLinesBecomeInfoLinesAndSupplyThePonderMove) {
    Start("", "", "on go => 7 35 120 45000 1. e4 e5 2. Nf3\non go => move e2e4\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(),
              (Lines{"info depth 1 score cp 1",
                     "info depth 7 score cp 35 time 1200 nodes 45000 nps 37500 pv e2e4 e7e5 g1f3",
                     "bestmove e2e4 ponder e7e5"}));
}

// The last line had a single move: no ponder move from an older line.
TEST_F(SearchTest, DepthsAreNormalisedAndAOneMoveLineLeavesNoPonderMove) {
    Start("", "",
          "on go => 7 35 120 45000 1. e4 e5 2. Nf3\non go => 12000 -20 0 500 e2e4 zz9\non go => move e2e4\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(),
              (Lines{"info depth 1 score cp 1",
                     "info depth 7 score cp 35 time 1200 nodes 45000 nps 37500 pv e2e4 e7e5 g1f3",
                     "info depth 12 score cp -20 time 0 nodes 500 nps 500000 pv e2e4", "bestmove e2e4"}));
}

TEST_F(SearchTest, NoiseHidesShallowVariationsAndWhiteScoreTurnsBlackScores) {
    Start("", "Noise=8\nWhiteScore=true\n",
          "on go => 7 50 100 1000 e7e5\non go => 9 50 100 1000 e7e5\non go => move e7e5\n");
    Position("startpos moves e2e4");
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(),
              (Lines{"info depth 1 score cp 1", "info depth 7 score cp -50 time 1000 nodes 1000 nps 1000",
                     "info depth 9 score cp -50 time 1000 nodes 1000 nps 1000 pv e7e5", "bestmove e7e5"}));
}

TEST_F(SearchTest, StatusAndCurrentMoveLines) {
    Start("", "",
          "on go => stat01: 250 120000 9 12 30 Nf3\non go => stat01: 100\non go => var:curmov=5 3 x g1f3\n"
          "on go => move g1f3\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(),
              (Lines{"info depth 1 score cp 1",
                     "info time 2500 nodes 120000 nps 48000 depth 9 currmovenumber 18 currmove g1f3",
                     "info time 1000", "info depth 5 currmovenumber 5 currmove g1f3", "bestmove g1f3"}));
}

// Numbers no host takes (negative counts, move numbers below 1) are left out or made 0.
TEST_F(SearchTest, StatusLinesWithImpossibleNumbersStayValid) {
    Start("", "",
          "on go => stat01: -5 -100 3 30 12 Nf3\non go => var:curmov=5 -9 x g1f3\non go => move g1f3\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(),
              (Lines{"info depth 1 score cp 1", "info time 0 nodes 0 nps 0 depth 3 currmove g1f3",
                     "info depth 5 currmove g1f3", "bestmove g1f3"}));
}

TEST_F(SearchTest, ASearchWithoutAPositionSearchesTheStartPosition) {
    Start("", "", "on go => move e2e4\n");
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove e2e4");
}

// The engine starts at "isready"; a host that searches before it still gets its moves at once.
TEST(SearchBeforeIsReadyTest, IsAnsweredAtOnceAndAnInfiniteOneAtStop) {
    TempDir dir;
    dir.Write("Pontax.eng", "[OPTIONS]\nProgram=" + testing_support::PathForPontax(FAKE_ENGINE_PATH) + "\n");
    UciHost host(testing_support::PontaxCommand(), dir.Path());
    host.Send("uci");
    ASSERT_TRUE(host.WaitFor("uciok"));
    auto start = std::chrono::steady_clock::now();
    host.Send("position startpos moves e2e4");
    host.Send("go wtime 1000 btime 1000");
    EXPECT_EQ(host.WaitBestMove(5s), "bestmove a7a6");
    host.Send("go infinite");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(host.SearchOutstanding());
    host.Send("stop");
    EXPECT_EQ(host.WaitBestMove(5s), "bestmove a7a6");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(host.Quit(), 0);
    EXPECT_TRUE(host.Violations().empty()) << testing_support::Describe(host.Violations());
}

TEST_F(SearchTest, TheDepthLimitTellsTheEngineToMove) {
    Start("", "", "on go => 4 10 10 100 e2e4\non go => 5 10 10 100 d2d4\non ? => move d2d4\n");
    Position(kStart);
    Go(" depth 4");
    UntilBestMove();
    Lines got = EngineGot();
    EXPECT_EQ(got.back(), "?");
}

TEST_F(SearchTest, TheTickerAsksForStatusOnceASecond) {
    Start("", "ShowThinkingMove=true\n", "on analyze => 1 10 10 100 e2e4\n");
    Position(kStart);
    Go(" infinite");
    std::this_thread::sleep_for(2500ms);
    Lines got = EngineGot();
    EXPECT_GE(std::count(got.begin(), got.end(), "."), 1);
    host_->Send("stop");
    UntilBestMove();
}

TEST_F(SearchTest, StopInEachState) {
    Start("", "", "on ? => move d2d4\n");
    host_->Send("stop");  // nothing outstanding: nothing at all
    EXPECT_TRUE(GuiFor(300ms).empty());
    Position(kStart);
    Go(kClocks);
    host_->Send("stop");
    EXPECT_EQ(UntilBestMove().back(), "bestmove d2d4");
    EXPECT_EQ(EngineGot().back(), "?");
    Position("startpos moves d2d4 d7d5");
    Go(" infinite");
    host_->Send("stop");
    EXPECT_EQ(UntilBestMove().back(), "bestmove b1a3");  // synthesised: the first legal move
    Lines got = EngineGot();
    EXPECT_NE(std::find(got.begin(), got.end(), "exit"), got.end());
    Position("startpos moves d2d4 d7d5 c2c4");
    Go(" ponder" + std::string(kClocks));
    host_->Send("stop");
    Lines ponder = UntilBestMove();
    EXPECT_EQ(ponder.front(), "info depth 1 score cp 1");
    EXPECT_EQ(
        std::count_if(ponder.begin(), ponder.end(), [](auto& l) { return l.rfind("bestmove", 0) == 0; }), 1);
    EXPECT_TRUE(GuiFor(300ms).empty());
}

TEST_F(SearchTest, PonderSearchWaitsForPonderhit) {
    Start("time=1", "", "on go => move e2e4\non c7c5 => move g1f3\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove e2e4");
    EngineGot();
    Position("startpos moves e2e4 c7c5");
    Go(" ponder wtime 290000 btime 300000");
    EXPECT_EQ(GuiFor(300ms), (Lines{"info depth 1 score cp 1"}));
    // The GUI ponders: from now on the engine may think on its opponent's time.
    EXPECT_EQ(EngineGot(), (Lines{"hard"}));
    host_->Send("ponderhit");
    EXPECT_EQ(UntilBestMove(), (Lines{"bestmove g1f3"}));
    Lines got = EngineGot();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "time 29000");
    EXPECT_EQ(got[2], "c7c5");
}

TEST_F(SearchTest, AnEngineDyingInASearchEndsTheAdapterPromptly) {
    Start("", "", "on go => !exit\n");
    Position(kStart);
    auto start = std::chrono::steady_clock::now();
    Go(kClocks);
    // The host still gets its move before the adapter ends.
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "bestmove b1a3"}));
    EXPECT_EQ(host_->Raw().WaitExit(5s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    host_.reset();
}

// Pondering is the GUI's to ask for: the engine is "easy" until the GUI sets Ponder or ponders.
TEST_F(SearchTest, TheEnginePondersOnlyWhenTheGuiAsks) {
    Start("", "", "");
    Lines start = EngineLines();
    EXPECT_NE(std::find(start.begin(), start.end(), "easy"), start.end());
    host_->Send("setoption name Ponder value true");
    EXPECT_EQ(EngineGot(1), (Lines{"hard"}));
    host_->Send("setoption name Ponder value false");
    EXPECT_EQ(EngineGot(2), (Lines{"hard", "easy"}));
}

TEST_F(SearchTest, PonderhitWithoutAPonderSearchDoesNothing) {
    Start("", "", "on go => move e2e4\n");
    host_->Send("ponderhit");
    EXPECT_TRUE(GuiFor(300ms).empty());
    EXPECT_TRUE(EngineGot().empty());
}

TEST_F(SearchTest, ResignationIsReportedAndAnswered) {
    Start("", "", "on go => resign\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "info string resign", "bestmove b1a3"}));
    EXPECT_EQ(EngineGot().back(), "result 0-1");
    Position("startpos moves b1a3 e7e5");
    Go(kClocks);
    Lines second = UntilBestMove();
    EXPECT_EQ(second[1], "info string resign");
    EXPECT_EQ(second.back(), "bestmove a1b1");
}

// The engine moves and then resigns: the result reaches the host with the next search, which the
// adapter answers, and the log says why the adapter answers.
TEST_F(SearchTest, AResignationAfterTheMoveIsShownWithTheNextSearch) {
    Start("", "", "on go => move e7e5\non go => resign\n");
    Position("startpos moves e2e4");
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove e7e5");
    Position("startpos moves e2e4 e7e5 g1f3");
    Go(kClocks);
    Lines second = UntilBestMove();
    ASSERT_GE(second.size(), 3u);
    EXPECT_EQ(second[second.size() - 2], "info string resign") << testing::PrintToString(second);
    EXPECT_EQ(second.back().rfind("bestmove ", 0), 0u);
    Position("startpos moves e2e4 e7e5 g1f3 b8c6 f1b5");
    Go(kClocks);
    Lines third = UntilBestMove();
    EXPECT_FALSE(AnyLineHas(third, "info string")) << testing::PrintToString(third);
    EXPECT_TRUE(LogHas("The engine has ended this game; the adapter answers"));
}

TEST_F(SearchTest, ResultsAreReported) {
    Start("", "", "on go => 0-1 {White mates}\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(),
              (Lines{"info depth 1 score cp 1", "info string 0-1 {White mates}", "bestmove b1a3"}));
    EXPECT_EQ(EngineGot().back(), "result 0-1");
}

TEST_F(SearchTest, ADrawClaimDuringASearchStillGetsABestMoveAndTheEnginePlaysOn) {
    Start("", "", "on go => 1/2-1/2 {Draw by repetition}\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "info string 1/2-1/2 {Draw by repetition}",
                                      "bestmove b1a3"}));
    EngineGot();
    Position("startpos moves b1a3 e7e5");
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove a1b1");
    Lines got = EngineGot();
    EXPECT_EQ(got[1], "new");
}

TEST_F(SearchTest, IllegalEngineMovesAreReplacedAndTheEngineResynchronised) {
    Start("", "", "on go => move e2e5\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "info string illegal engine move move e2e5",
                                      "bestmove b1a3"}));
    EngineGot();
    Position("startpos moves b1a3 e7e5");
    Go(kClocks);
    UntilBestMove();
    Lines got = EngineGot();
    EXPECT_EQ(got[1], "new");
    EXPECT_TRUE(LogHas("S> illegal move"));
}

TEST_F(SearchTest, MovesNobodyAskedForAreDiscarded) {
    Start("", "", "on post => move e2e4\n");
    host_->Send("setoption name Noise value 1");
    EXPECT_TRUE(GuiFor(800ms).empty());
    EXPECT_TRUE(LogHas("-  Move discarded, engine is not thinking."));
}

// Protocol 1 engines, and engines fallen back to their console form, announce moves otherwise.
TEST_F(SearchTest, OldStyleAndConsoleMoveAnnouncements) {
    Start("", "", "on go => 1. ... Nf3\non e7e5 => My move is : Nc3\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove g1f3");
    Position("startpos moves g1f3 e7e5");
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove b1c3");
}

TEST_F(SearchTest, NoLegalMoveGivesTheNullMove) {
    Start("", "", "on go => move a1a2\n");
    Position("fen 7k/5QQ1/8/8/8/8/8/K7 b - - 0 1");  // Black is mated
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove 0000");
}

// Every way into a search from a set-up position keeps the engine in force mode until "go": the
// engine never sees a move as its cue to think for the wrong side.
TEST_F(SearchTest, SetUpPositionsAreSentInForceModeAndStartedByGo) {
    Start("setboard=1", "", "on go => move e2e4\n");
    Position("fen rnbqkbnr/pp2pppp/3p4/2p5/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3 moves g8f6");
    Go(kClocks);
    UntilBestMove();
    EXPECT_EQ(EngineGot(), (Lines{"force", "new", "post", "hard", "easy", "force",
                                  "setboard rnbqkbnr/pp2pppp/3p4/2p5/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 1",
                                  "level 0 5 0", "g8f6", "time 30000", "otim 30000", "go"}));
    host_->Send("setoption name Edit value edit");
    Position("fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e1d1");
    Go(kClocks);
    Lines got = EngineGot(20);
    ASSERT_GE(got.size(), 6u);
    EXPECT_EQ(Lines(got.end() - 6, got.end()),
              (Lines{"force", "level 0 5 0", "e1d1", "time 30000", "otim 30000", "go"}));
}

// A move the engine wrote before it read the commands of a search is not that search's answer,
// however late it arrives: "ping" tells them apart.
TEST_F(SearchTest, AMoveNobodyAskedForDoesNotAnswerTheNextSearch) {
    Start("ping=1", "",
          "on new => move d2d4\non ping 1 => pong 1\non ping 2 => pong 2\non go => move e2e4\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove e2e4");
    EXPECT_TRUE(LogHas("-  Move discarded, engine is not thinking."));
}

// A variation ends at its first word that is no legal move, so words after it cannot splice in a
// line of another position; move numbers are still skipped. Every line replaces both remembered
// moves, so a one-move line leaves no stale ponder move.
TEST_F(SearchTest, AVariationEndsAtItsFirstIllegalMove) {
    Start("", "",
          "on go => 5 10 10 100 1. e4 e5 2. Nf3\non go => 6 12 10 100 e2e4 d2d4 e7e5\non go => move e2e4\n"
          "on e7e5 => 3 10 10 100 g1f3 b8c6\non e7e5 => 4 10 10 100 g1f3\non e7e5 => move g1f3\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(),
              (Lines{"info depth 1 score cp 1",
                     "info depth 5 score cp 10 time 100 nodes 100 nps 1000 pv e2e4 e7e5 g1f3",
                     "info depth 6 score cp 12 time 100 nodes 100 nps 1000 pv e2e4", "bestmove e2e4"}));
    Position("startpos moves e2e4 e7e5");
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove g1f3");
}

// While the host ponders on a move, only variations that begin with that move (plain or in
// brackets) or follow the engine's own hint for it are shown, without the pondered move.
TEST_F(SearchTest, PonderLinesShowOnlyVariationsFromThePonderedPosition) {
    Start("", "",
          "on go => 3 10 10 100 e2e4 e7e5\non go => move e2e4\non go => !sleep 1000\n"
          "on go => 4 20 10 100 e7e5 g1f3 b8c6\non go => 4 20 10 100 d7d5 e4d5\n"
          "on go => 5 20 10 100 (e7e5) g1f3 b8c6\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove e2e4 ponder e7e5");
    Position("startpos moves e2e4 e7e5");
    Go(" ponder" + std::string(kClocks));
    EXPECT_EQ(GuiFor(1500ms), (Lines{"info depth 1 score cp 1",
                                     "info depth 4 score cp 20 time 100 nodes 100 nps 1000 pv g1f3 b8c6",
                                     "info depth 4 score cp 20 time 100 nodes 100 nps 1000",
                                     "info depth 5 score cp 20 time 100 nodes 100 nps 1000 pv g1f3 b8c6"}));
    host_->Send("stop");
    UntilBestMove();
}

// Results the engine announces outside a search go to the log only: strict hosts refuse any
// output while no search is outstanding.
TEST_F(SearchTest, ResultsAfterTheMoveAreNotSentToTheHost) {
    Start("", "", "on go => move e2e4\non go => 1-0 {White mates}\non go => 1/2-1/2 {Draw}\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "bestmove e2e4"}));
    EXPECT_TRUE(GuiFor(300ms).empty());
    EXPECT_TRUE(LogHas("S> 1/2-1/2 {Draw}"));
}

// A result the engine wrote about its old game, arriving once the next game has begun, does not
// end the new one.
TEST_F(SearchTest, AResultAboutTheOldGameDoesNotEndTheNewOne) {
    Start(
        "ping=1", "",
        "on ping 1 => pong 1\non ping 2 => pong 2\non ping 2 => move e2e4\n"
        "on ping 3 => 0-1 {Black mates}\non ping 3 => pong 3\non ping 4 => pong 4\non ping 4 => move e7e5\n");
    Position(kStart);
    Go(kClocks);
    EXPECT_EQ(UntilBestMove().back(), "bestmove e2e4");
    Position("startpos moves d2d4");
    Go(kClocks);
    EXPECT_EQ(UntilBestMove(), (Lines{"info depth 1 score cp 1", "bestmove e7e5"}));
    EXPECT_TRUE(LogHas("Result discarded"));
}

}  // namespace
