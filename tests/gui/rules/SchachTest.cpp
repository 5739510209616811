// The game core's commands, and the computer-move dialogue with the scripted fake engine.
#include "gui/rules/Schach.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

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
    Engine("on e2e4 => move e7e5\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(schach_.befehl("ll"), "e7e5");
    EXPECT_EQ(schach_.befehl("V"), "Fake engine 1.0\n\nFake ready");
    EXPECT_EQ(EngineGot(), (std::vector<std::string>{"hard", "level 0 2 12", "e2e4"}));
}

TEST_F(SchachTest, TheWindowIsServedWhileTheEngineThinks) {
    Engine("on e2e4 => !sleep 500\non e2e4 => move e7e5\n");
    int aufrufe = 0;
    engine_.Rueckruf_setzen([&] { ++aufrufe; });
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    int vorher = aufrufe;
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_GE(aufrufe - vorher, 5);  // every 50 ms of silence, and after each line
}

TEST_F(SchachTest, OtherwiseThePositionIsSentWithSetboard) {
    Engine("on go => 1 0 0 1 c7c5\non go => move c7c5\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    ASSERT_EQ(schach_.befehl("Bz9"), "\nError   1 : Ungueltiger Zug !\n");  // resets the count
    EXPECT_EQ(schach_.befehl("c1"), "");
    EXPECT_EQ(schach_.befehl("ll"), "c7c5");
    EXPECT_EQ(EngineGot(), (std::vector<std::string>{
                               "easy", "level 0 2 12",
                               "setboard rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", "go"}));
}

TEST_F(SchachTest, AnEngineRefusalTakesBackTheHumanMove) {
    Engine("on e2e4 => Engine refuses e2e4\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c2"), " Kelvane: \n \nEngine refuses e2e4");
    EXPECT_EQ(schach_.Aktuelles_brett().Feld[12], figur::Bauer);  // back on e2
    EXPECT_EQ(schach_.befehl("lf"), "b1a3");
}

TEST_F(SchachTest, AResultLineEndsTheGame) {
    Engine("on e2e4 => 0-1 {Black mates}\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    EXPECT_EQ(schach_.befehl("c3"), " Kelvane: \n \n0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("Be7e5"), "0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("lf"), "0-1 {Black mates}");
    EXPECT_EQ(schach_.befehl("ln"), "a7a5");  // the second entry, not the first
    EXPECT_EQ(schach_.befehl("0"), "");
    EXPECT_TRUE(EngineGets("new"));
}

TEST_F(SchachTest, AWhiteMateByTheEngineAlsoEndsTheWait) {
    Engine("on go => 1-0 {White mates}\n");
    Neu();
    EXPECT_EQ(schach_.befehl("c3"), " Kelvane: \n \n1-0 {White mates}");
}

TEST_F(SchachTest, AnEngineThatExitsIsReportedAndStartedAgain) {
    Engine("on e2e4 => !exit\non go => move e7e5\n");
    Neu();
    ASSERT_EQ(schach_.befehl("Be2e4"), "");
    std::string antwort = schach_.befehl("c3");
    EXPECT_EQ(antwort.rfind(" Kelvane: \n \n", 0), 0u) << antwort;
    EXPECT_EQ(schach_.Engine_zustand(), Schach::Nicht_gestartet);
    EXPECT_EQ(schach_.Aktuelles_brett().Feld[28], figur::Bauer);  // e4: the position is unchanged
    EXPECT_EQ(schach_.befehl("c3"), "");                           // a new engine gets the position
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

INSTANTIATE_TEST_SUITE_P(Faults, EngineFaultTest,
                         ::testing::Values("on e2e4 => !kill\n", "on e2e4 => !close\n",
                                           "on e2e4 => !flood 100000\non e2e4 => move e7e5\n",
                                           "on e2e4 => !longline 1048576\non e2e4 => move e7e5\n",
                                           "on e2e4 => !garbage 1048576\non e2e4 => move e7e5\n"));

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
    Engine("on g1f3 => move d7d5\n");
    Neu();
    ASSERT_EQ(schach_.befehl("B3"), "");
    EXPECT_EQ(schach_.befehl("c3"), "");
    EXPECT_EQ(EngineGot().back(), "g1f3");
}

}  // namespace
}  // namespace dravel
