// The strict host checker is only as good as the faults it sees: each case feeds it a dialogue a
// strict host refuses, and one clean dialogue of every kind it must let pass.
#include <gtest/gtest.h>

#include "tests/support/UciChecker.h"
#include "tests/support/UciHost.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Describe;
using testing_support::LegalityOracle;
using testing_support::SteadyTime;
using testing_support::UciDialogueChecker;

LegalityOracle& Oracle() {
    static LegalityOracle oracle;
    return oracle;
}

// One dialogue fed to a fresh checker.
struct Conversation {
    UciDialogueChecker checker{[](const std::string& p) { return Oracle().LegalMoves(p); }};
    SteadyTime now = std::chrono::steady_clock::now();

    // Lines prefixed "> " go to the engine, the others come from it; each 100 ms after the last.
    void Lines(const std::vector<std::string>& lines) {
        for (const auto& line : lines) {
            now += 100ms;
            if (line.rfind("> ", 0) == 0)
                checker.Sent(line.substr(2), now);
            else
                checker.Received(line, now);
        }
    }
    void Handshake() {
        Lines({"> uci", "id name Test", "id author Someone", "uciok", "> isready", "readyok"});
    }
    // The one violation the dialogue produced, or a list of what was found instead.
    std::string OnlyViolation() {
        checker.Finish();
        const auto& found = checker.Violations();
        return found.size() == 1 ? found[0]
                                 : "found " + std::to_string(found.size()) + ":\n" + Describe(found);
    }
};

TEST(UciCheckerTest, CleanDialoguesPass) {
    Conversation talk;
    talk.Handshake();
    talk.Lines(
        {"> position fen rnbqkbnr/pp2pppp/3p4/2p5/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3",
         "> go wtime 5000 btime 5000",
         "info depth 1 score cp 1",
         "info depth 3 seldepth 5 score mate -2 upperbound nodes 10 nps 100 pv c5d4 f3d4",
         "info currmove c5d4 currmovenumber 1",
         "info string hello there",
         "bestmove c5d4 ponder f3d4",
         "> position fen rnbqkbnr/pp2pppp/3p4/2p5/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3 moves c5d4 f3d4",
         "> go ponder wtime 4000 btime 5000",
         "info depth 2 score cp 5 pv g8f6 b1c3",
         "> ponderhit",
         "bestmove g8f6",
         "> position startpos moves e2e4",
         "> go ponder",
         "info depth 2 pv e7e5",
         "> stop",
         "bestmove c7c5",
         "> position startpos moves f2f3 e7e5 g2g4 d8h4",
         "> go infinite",
         "> stop",
         "bestmove 0000",
         "> quit"});
    talk.checker.Finish();
    EXPECT_TRUE(talk.checker.Violations().empty()) << Describe(talk.checker.Violations());
}

TEST(UciCheckerTest, LinesOutOfPlace) {
    struct Row {
        const char* name;
        std::vector<std::string> lines;
        const char* fault;
    };
    const Row rows[] = {
        {"InfoBeforeGo", {"info depth 1 score cp 0"}, "info while no search"},
        {"InfoStringAfterBestMove",
         {"> go depth 1", "bestmove e2e4", "info string 1-0"},
         "info while no search"},
        {"TwoBestMoves", {"> go depth 1", "bestmove e2e4", "bestmove d2d4"}, "bestmove while no search"},
        {"UnaskedReadyOk", {"readyok"}, "readyok nobody asked for"},
        {"OptionAfterUciOk", {"option name Hash type spin default 1 min 1 max 2"}, "option outside"},
        {"IdAfterUciOk", {"id name Again"}, "id outside"},
        {"UnknownLine", {"Illegal move: e2e5"}, "unknown line"},
        {"NoBestMove", {"> go depth 3", "info depth 1 score cp 0"}, "search without bestmove"},
        {"NoReadyOk", {"> isready"}, "isready without readyok"},
    };
    for (const auto& row : rows) {
        Conversation fresh;
        fresh.Handshake();
        fresh.Lines({"> position startpos"});
        fresh.Lines(row.lines);
        EXPECT_NE(fresh.OnlyViolation().find(row.fault), std::string::npos)
            << row.name << ": " << fresh.OnlyViolation();
    }
}

TEST(UciCheckerTest, MovesMustBeLegalInTheSearchedPosition) {
    struct Row {
        const char* name;
        const char* position;
        const char* go;
        std::vector<std::string> lines;
        const char* fault;
    };
    const Row rows[] = {
        {"IllegalBestMove", "startpos moves e2e4", "go depth 1", {"bestmove e2e4"}, "bestmove not legal"},
        {"IllegalPonderMove",
         "startpos",
         "go depth 1",
         {"bestmove e2e4 ponder e2e4"},
         "ponder move not legal"},
        {"PonderMoveOfAnEmptySquare",
         "startpos",
         "go depth 1",
         {"bestmove e2e4 ponder e5e4"},
         "ponder move not legal"},
        {"PvSplicedFromAnotherPosition",
         "startpos",
         "go depth 1",
         {"info depth 2 pv e2e4 e2e4", "bestmove e2e4"},
         "pv move e2e4 not legal"},
        {"PvOfTheSideNotToMove",
         "startpos moves e2e4",
         "go depth 1",
         {"info depth 2 pv d2d4", "bestmove e7e5"},
         "pv move d2d4"},
        {"PonderPvStartingWithThePonderMove",
         "startpos moves e2e4 e7e5",
         "go ponder",
         {"info depth 2 pv e7e5 g1f3", "> stop", "bestmove g1f3"},
         "pv move e7e5"},
        {"IllegalCurrentMove", "startpos", "go depth 1", {"info currmove e7e5", "bestmove e2e4"}, "currmove"},
        {"NullMoveWithLegalMoves", "startpos", "go depth 1", {"bestmove 0000"}, "null bestmove"},
        {"BestMoveForAFenWithBlackToMove",
         "fen 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1",
         "go depth 1",
         {"bestmove e2e3"},
         "bestmove not legal"},
        {"MalformedBestMove", "startpos", "go depth 1", {"bestmove e2e4 e7e5"}, "malformed bestmove"},
        {"BestMoveOtherThanTheLastPvsFirst",
         "startpos",
         "go depth 2",
         {"info depth 1 pv d2d4", "info depth 2 pv e2e4 e7e5", "info string note", "bestmove d2d4"},
         "does not begin the last pv"},
        {"AfterPonderhitTheRuleHolds",
         "startpos moves e2e4",
         "go ponder",
         {"info depth 2 pv e7e5", "> ponderhit", "bestmove c7c5"},
         "does not begin the last pv"},
    };
    for (const auto& row : rows) {
        Conversation fresh;
        fresh.Handshake();
        fresh.Lines({std::string("> position ") + row.position, std::string("> ") + row.go});
        fresh.Lines(row.lines);
        EXPECT_NE(fresh.OnlyViolation().find(row.fault), std::string::npos)
            << row.name << ": " << fresh.OnlyViolation();
    }
}

TEST(UciCheckerTest, MalformedInfoLines) {
    for (const char* line : {"info depth x", "info score cp", "info score pawns 3",
                             "info depth 3 frobnicate 2", "info depth -1", "info pv", "info"}) {
        Conversation fresh;
        fresh.Handshake();
        fresh.Lines({"> position startpos", "> go depth 1", line, "bestmove e2e4"});
        EXPECT_EQ(fresh.checker.Violations().size(), 1u) << line;
    }
}

TEST(UciCheckerTest, OptionsAStrictHostRefuses) {
    Conversation talk;
    for (const char* line :
         {"option name Hash type spin default 0 min 1 max 64",
          "option name Hash type spin default 16 min 64 max 1", "option name Hash type spin default 16",
          "option name Ponder type check default 1",
          "option name Edit type combo default cb var setboard var edit",
          "option name Edit type combo var setboard", "option name Clear Hash type button default true",
          "option name Program type string", "option name Style type radio default a",
          "option type spin default 1 min 1 max 2",
          "option name Hash type spin default 1 min 1 max 2 min 3"}) {
        Conversation fresh;
        fresh.Lines({"> uci", line, "uciok"});
        EXPECT_EQ(fresh.checker.Violations().size(), 1u) << line << "\n"
                                                         << Describe(fresh.checker.Violations());
    }
    talk.Lines({"> uci", "option name Hash type spin default 16 min 1 max 64",
                "option name hash type check default true",
                "option name Edit type combo default edit var setboard var edit",
                "option name Program type string default", "option name Clear Hash type button", "uciok"});
    EXPECT_NE(talk.OnlyViolation().find("given twice"), std::string::npos);
}

TEST(UciCheckerTest, ABestMoveAfterTheClockRanOutIsLate) {
    Conversation talk;
    talk.Handshake();
    talk.Lines({"> position startpos moves e2e4", "> go wtime 100000 btime 250 winc 0 binc 0"});
    talk.now += 100ms;
    talk.checker.Received("bestmove e7e5", talk.now);  // 100 ms of 250: in time
    talk.Lines({"> position startpos moves e2e4 e7e5 g1f3", "> go wtime 100000 btime 50"});
    talk.now += 100ms;
    talk.checker.Received("bestmove b8c6", talk.now);  // 100 ms of 50
    EXPECT_NE(talk.OnlyViolation().find("50 ms after the clock ran out"), std::string::npos)
        << talk.OnlyViolation();
}

TEST(UciCheckerTest, ThePonderClockStartsAtPonderhit) {
    Conversation talk;
    talk.Handshake();
    talk.Lines({"> position startpos moves e2e4 e7e5", "> go ponder wtime 300 btime 1000"});
    talk.now += 5s;  // pondering costs the engine nothing
    talk.Lines({"> ponderhit"});
    talk.now += 400ms;
    talk.checker.Received("bestmove g1f3", talk.now);
    EXPECT_NE(talk.OnlyViolation().find("ms after the clock ran out"), std::string::npos)
        << talk.OnlyViolation();
}

TEST(UciCheckerTest, QuitExcusesAnOutstandingSearch) {
    Conversation talk;
    talk.Handshake();
    talk.Lines({"> position startpos", "> go infinite", "info depth 1 score cp 3 pv e2e4", "> quit"});
    talk.checker.Finish();
    EXPECT_TRUE(talk.checker.Violations().empty()) << Describe(talk.checker.Violations());
}

}  // namespace
