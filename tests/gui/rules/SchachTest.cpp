// The game core's commands, and the computer-move dialogue with the scripted fake engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "gui/rules/Schach.h"
#include "tests/support/ProcessHarness.h"

namespace dravel {
namespace {

using testing_support::ReadLines;
using testing_support::TempDir;

// A game core like the window's after a new game, playing against the fake engine.
class SchachTest : public ::testing::Test {
protected:
    void Engine(const std::string& script) {
        dir_.Write("script", "start info       Fake engine 1.0\nstart Fake ready\nstart waiting\n" + script);
        ::setenv("FAKE_ENGINE_SCRIPT", dir_.File("script").c_str(), 1);
        ::setenv("FAKE_ENGINE_LOG", dir_.File("engine.log").c_str(), 1);
    }
    std::vector<std::string> EngineGot() { return ReadLines(dir_.File("engine.log")); }
    // Waits briefly for a line that gets no reply to reach the engine.
    bool EngineGets(const std::string& line) {
        for (int i = 0; i < 200; ++i) {
            auto got = EngineGot();
            if (!got.empty() && got.back() == line) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    void Neu() {
        schach_.Neue_partie();
        for (const char* kommando : {"0", "8", "F1"}) schach_.befehl(kommando);
    }

    TempDir dir_;
    Engine_verbindung engine_{FAKE_ENGINE_PATH};
    Schach schach_{engine_};
};

TEST_F(SchachTest, HumanMovesListsAndMessages) {
    Neu();
    EXPECT_EQ(schach_.befehl("ll"), "root");
    EXPECT_EQ(schach_.befehl("lf"), "b1a3");
    EXPECT_EQ(schach_.befehl("ln"), "b1c3");
    EXPECT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("ll"), "e2e4");
    EXPECT_EQ(schach_.befehl("Be2e4"), "\nError   1 : Ungueltiger Zug !\n");
    EXPECT_EQ(schach_.befehl("b1"), "");  // the first Black move by its list number
    EXPECT_EQ(schach_.befehl("ll"), "a7a6");
    EXPECT_EQ(schach_.befehl("?"), "");
    EXPECT_EQ(schach_.befehl(""), "");
    const Stellung* vorher = schach_.Aktuelle_stellung();
    EXPECT_EQ(schach_.befehl("8"), "");
    EXPECT_EQ(schach_.Aktuelle_stellung(), vorher);  // "8" with a current node creates nothing
}

TEST_F(SchachTest, OnlyTheFirstMessageOfACommandIsAnswered) {
    Neu();
    for (const char* zug : {"Bh2h4", "Bg7g5", "Bh4g5", "Bg8f6", "Bg5g6", "Bf6e4", "Bg6g7", "Be4c3"})
        ASSERT_EQ(schach_.befehl(zug), "") << zug;
    EXPECT_EQ(schach_.befehl("Bg7h8"), "\nError   2 : Ungenuegende Angabe fuer Bauernumwandlung\n");
    EXPECT_EQ(schach_.befehl("Bg7h8D"), "");
    EXPECT_EQ(schach_.befehl("ll"), "g7h8D");
}

TEST_F(SchachTest, ASingleHumanMoveGoesToTheEngineAsItIs) {
    Engine("on e2e4 => move e7e5\non e2e4 => done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(schach_.befehl("ll"), "e7e5");
    EXPECT_EQ(schach_.befehl("V"), "Fake engine 1.0\n\nFake ready");
    EXPECT_EQ(EngineGot(), (std::vector<std::string>{"hard", "level 0 2 12", "e2e4"}));
}

TEST_F(SchachTest, TheWindowIsServedWhileTheEngineThinks) {
    Engine("on e2e4 => !sleep 500\non e2e4 => move e7e5\non e2e4 => done\n");
    int aufrufe = 0;
    engine_.Rueckruf_setzen([&] { ++aufrufe; });
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    int vorher = aufrufe;
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_GE(aufrufe - vorher, 5);  // every 50 ms of silence, and after each line
}

// Two human moves in a row: the engine gets the game from the start in force mode, then the
// level (which "new" resets), the position as FEN, and "go".
TEST_F(SchachTest, OtherwiseTheWholeGameIsSent) {
    Engine("on go => 1 0 0 1 g8f6\non go => move g8f6\non go => done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    ASSERT_EQ(schach_.befehl("Be7e5"), "");
    ASSERT_EQ(schach_.befehl("Bg1f3"), "");
    EXPECT_EQ(schach_.befehl("c1"), "");
    EXPECT_EQ(schach_.befehl("ll"), "g8f6");
    EXPECT_EQ(EngineGot(),
              (std::vector<std::string>{
                  "new", "force", "e2e4", "e7e5", "g1f3", "easy", "level 0 2 12",
                  "setboard rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2", "go"}));
}

// A refused move used to reset a counter, so that the next legal move went alone to an engine
// that had never been given the position before it.
TEST_F(SchachTest, ARefusedMoveDoesNotLetTheEngineMissThePosition) {
    Engine("on go => move b8c6\non go => done\non d2d3 => move c6d4\non d2d3 => done\n");
    Neu();
    for (const char* zug : {"Be2e4", "Be7e5", "Bz9", "Bg1f3"}) schach_.befehl(zug);
    ASSERT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(EngineGot().front(), "new");
    EXPECT_EQ(EngineGot().back(), "go");
    // Now the engine knows the position: refused moves change nothing, the legal one goes alone.
    const size_t bisher = EngineGot().size();
    EXPECT_NE(schach_.befehl("Bd1d4"), "");
    EXPECT_NE(schach_.befehl("Bd7d6"), "");
    ASSERT_EQ(schach_.befehl("Bd2d3"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(schach_.befehl("ll"), "c6d4");
    const auto got = EngineGot();
    EXPECT_EQ(std::vector<std::string>(got.begin() + static_cast<long>(bisher), got.end()),
              (std::vector<std::string>{"hard", "level 0 2 12", "d2d3"}));
}

TEST_F(SchachTest, AnEngineRefusalTakesBackTheHumanMoveAndTheNextRequestSendsThePosition) {
    Engine(
        "force-mode\non e2e4 => Engine refuses e2e4\non e2e4 => done\non go => move e7e5\non go => done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c2"), " Kelvane: \n \nEngine refuses e2e4");
    EXPECT_EQ(schach_.Aktuelles_brett().Feld[12], figur::Bauer);  // back on e2
    EXPECT_EQ(schach_.Halbzuege(), 0);
    EXPECT_EQ(schach_.befehl("lf"), "b1a3");
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c2"), "");
    EXPECT_EQ(EngineGot().back(), "go");
}

TEST_F(SchachTest, AResultWithoutAMoveEndsTheGame) {
    Engine("on e2e4 => 0-1 {Black mates}\non e2e4 => done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), " Kelvane: \n \n0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("Be7e5"), "0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("lf"), "0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("ln"), "a7a5");  // the second entry, not the first
    // A finished game asks the engine nothing.
    const size_t bisher = EngineGot().size();
    EXPECT_EQ(schach_.befehl("c3"), "0-1 {Black mates}");
    EXPECT_EQ(EngineGot().size(), bisher);
    EXPECT_EQ(schach_.befehl("0"), "");
    EXPECT_TRUE(EngineGets("new"));
}

// The engine mates with its move and then says so: the result belongs to this reply, and the
// next game's first answer is the engine's move, not that line.
TEST_F(SchachTest, AResultAfterTheEnginesMoveStaysWithItsGame) {
    Engine(
        "on f2f3 => move e7e5\non f2f3 => done\non g2g4 => move d8h4\non g2g4 => 0-1 {Black mates}\non g2g4 "
        "=> done\n"
        "on e2e4 => move c7c5\non e2e4 => done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Bf2f3"), "");
    ASSERT_EQ(schach_.befehl("c3"), "");
    ASSERT_EQ(schach_.befehl("Bg2g4"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(schach_.befehl("ll"), "d8h4");
    EXPECT_EQ(schach_.Ergebnis_text(), "0-1 {Black mates}");
    EXPECT_EQ(schach_.Schachfeld(), 4);  // e1
    Neu();
    EXPECT_EQ(schach_.Ergebnis_text(), "");
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(schach_.befehl("ll"), "c7c5");
    EXPECT_EQ(EngineGot().back(), "e2e4");  // after "new", the single move
}

TEST_F(SchachTest, MateAndStalemateOnTheBoardEndTheGame) {
    Neu();
    for (const char* zug : {"Bf2f3", "Be7e5", "Bg2g4"}) ASSERT_EQ(schach_.befehl(zug), "");
    EXPECT_EQ(schach_.Ergebnis_text(), "");
    ASSERT_EQ(schach_.befehl("Bd8h4"), "");
    EXPECT_EQ(schach_.Ergebnis_text(), "0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("Ba2a3"), "0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("c3"), "0-1 {Black mates}");  // no engine is asked or started
    EXPECT_EQ(schach_.Engine_zustand(), Schach::Nicht_gestartet);
    Neu();
    for (const char* zug : {"e2e3", "a7a5", "d1h5", "a8a6", "h5a5", "h7h5", "h2h4", "a6h6", "a5c7", "f7f6",
                            "c7d7", "e8f7", "d7b7", "d8d3", "b7b8", "d3h7", "b8c8", "f7g6", "c8e6"})
        ASSERT_EQ(schach_.befehl(std::string("B") + zug), "") << zug;
    EXPECT_EQ(schach_.Ergebnis_text(), "1/2-1/2 {Stalemate}");
    EXPECT_EQ(schach_.Schachfeld(), -1);
}

// What the engine may write back, each judged against the game: the first of several results
// counts; a move of the wrong side is refused and the next request sends the whole position.
TEST_F(SchachTest, OfSeveralResultsTheFirstCounts) {
    Engine("on e2e4 => 1-0 {White mates}\non e2e4 => 0-1 {Black mates}\non e2e4 => done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), " Kelvane: \n \n1-0 {White mates}");
    EXPECT_EQ(schach_.Ergebnis_text(), "1-0 {White mates}");
}

TEST_F(SchachTest, AMoveOfTheWrongSideIsRefusedAndThePositionSentAgain) {
    Engine(
        "force-mode\non e2e4 => move d2d4\non e2e4 => done\non go => move e7e5\non go => !garbage 200\non go "
        "=> done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), " Kelvane: \n \nmove d2d4");
    EXPECT_EQ(schach_.Halbzuege(), 1);
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(schach_.befehl("ll"), "e7e5");
    EXPECT_EQ(EngineGot().back(), "go");
}

TEST_F(SchachTest, AWaitGivenUpEndsTheEngineAndTheNextRequestStartsItAgain) {
    Engine("on e2e4 => !sleep 60000\n");
    Neu();
    int aufrufe = 0;
    engine_.Rueckruf_setzen([&] {
        if (++aufrufe >= 4) engine_.Warten_abbrechen();
    });
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_TRUE(schach_.Computerzug_abgebrochen());
    EXPECT_EQ(schach_.Engine_zustand(), Schach::Nicht_gestartet);
    EXPECT_EQ(schach_.Halbzuege(), 1);
    engine_.Rueckruf_setzen(nullptr);
    Engine("on e2e4 => move e7e5\non e2e4 => done\n");  // what the next engine reads
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_FALSE(schach_.Computerzug_abgebrochen());
    EXPECT_EQ(schach_.befehl("ll"), "e7e5");
}

TEST_F(SchachTest, AWhiteMateByTheEngineAlsoEndsTheWait) {
    Engine("on go => 1-0 {White mates}\non go => done\n");
    Neu();
    EXPECT_EQ(schach_.befehl("c3"), " Kelvane: \n \n1-0 {White mates}");
}

TEST_F(SchachTest, AnEngineThatExitsIsReportedAndStartedAgain) {
    Engine("on e2e4 => !exit\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    std::string antwort = schach_.befehl("c3");
    EXPECT_EQ(antwort.rfind(" Kelvane: \n \n", 0), 0u) << antwort;
    EXPECT_EQ(schach_.Engine_zustand(), Schach::Nicht_gestartet);
    EXPECT_EQ(schach_.Aktuelles_brett().Feld[28], figur::Bauer);  // e4: the position is unchanged
    Engine("on e2e4 => move e7e5\non e2e4 => done\n");
    EXPECT_EQ(schach_.befehl("c3"), "");  // a new engine gets the position
    EXPECT_EQ(schach_.befehl("ll"), "e7e5");
}

// An engine that dies, goes silent on its output, or buries its move in noise: the user is told
// or gets the move, and the game core is ready for the next command.
class EngineFaultTest : public SchachTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EngineFaultTest, TheUserIsToldOrGetsTheMove) {
    Engine(GetParam());
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    std::string antwort = schach_.befehl("c3");
    if (schach_.Engine_zustand() == 0) {
        EXPECT_EQ(antwort, "");
        EXPECT_EQ(schach_.befehl("ll"), "e7e5");
    } else {
        EXPECT_EQ(antwort.rfind(" Kelvane: \n \n", 0), 0u) << antwort;
        EXPECT_EQ(schach_.Aktuelles_brett().Feld[28], figur::Bauer);
    }
    EXPECT_FALSE(schach_.befehl("lf").empty());  // the legal moves are listed again
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EngineFaultTest,
    ::testing::Values("on e2e4 => !kill\n", "on e2e4 => !close\n",
                      "on e2e4 => !flood 100000\non e2e4 => move e7e5\non e2e4 => done\n",
                      "on e2e4 => !longline 1048576\non e2e4 => move e7e5\non e2e4 => done\n",
                      "on e2e4 => !garbage 1048576\non e2e4 => move e7e5\non e2e4 => done\n",
                      "on e2e4 => move e7e5\non e2e4 => !garbage 1048576\non e2e4 => done\n"));

TEST_F(SchachTest, AMissingEngineProgramIsReported) {
    Engine_verbindung fehlend("/nonexistent/kelvane");
    Schach schach(fehlend);
    schach.Neue_partie();
    for (const char* kommando : {"0", "8", "F1"}) schach.befehl(kommando);
    EXPECT_EQ(schach.befehl("c3"), "Error 4: opening kelvane");
    EXPECT_EQ(schach.befehl("V"), "Error 4: opening kelvane");
    schach.befehl("F0");
    EXPECT_EQ(schach.befehl("c3"), "");
}

TEST_F(SchachTest, AMoveChosenByNumberReachesTheEngineAsItsText) {
    Engine("on g1f3 => move d7d5\non g1f3 => done\n");
    Neu();
    ASSERT_EQ(schach_.befehl("B3"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(EngineGot().back(), "g1f3");
}

}  // namespace
}  // namespace dravel
