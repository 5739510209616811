// The translation both ways as tables: each row sets the adapter up, plays a short dialogue of GUI
// ("G") and engine ("E") lines, and names what the engine and the GUI get from its last line. The
// engine is a recording, so a row takes microseconds and needs no process or thread.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "CommandLoop.h"
#include "DialogueFixture.h"
#include "EngineOutput.h"
#include "LineWriters.h"

namespace pontax {
namespace {

using Lines = std::vector<std::string>;
using Setup = std::function<void(EngineDialogue&)>;

struct Row {
    const char* name;
    Setup setup;
    // "G ..." for a GUI line, "E ..." for an engine line.
    Lines dialogue;
    // What the last line of the dialogue sends.
    Lines toEngine;
    Lines toGui;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class TranslationTable : public testing_support::DialogueTest, public ::testing::WithParamInterface<Row> {
protected:
    // A search's opening line waits for the engine's first output (see OpeningLineTest); the rows
    // show it as sent by the "go" itself.
    void Play(const std::string& line) {
        if (line.rfind("G ", 0) == 0)
            HandleGuiLine(d, line.substr(2));
        else
            HandleEngineLine(d, line.substr(2));
        d.gui.SendOwed();
    }
};

TEST_P(TranslationTable, TheLastLineSendsWhatTheRowNames) {
    const Row& row = GetParam();
    if (row.setup) row.setup(d);
    for (size_t i = 0; i + 1 < row.dialogue.size(); ++i) Play(row.dialogue[i]);
    engine.Take();
    TakeGuiLines();
    Play(row.dialogue.back());
    EXPECT_EQ(engine.Take(), row.toEngine);
    EXPECT_EQ(TakeGuiLines(), row.toGui);
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) { return info.param.name; }

// What a first search sends before the moves: the engine's game afresh, with thinking shown and
// pondering off until the GUI asks for it.
Lines Fresh(Lines then) {
    Lines lines{"force", "new", "post", "hard", "easy", "force"};
    lines.insert(lines.end(), then.begin(), then.end());
    return lines;
}

const Lines kStart = {"info depth 1 score cp 1"};
const char* kAfterE4 = "G position startpos moves e2e4";
const char* kClock = "G go wtime 60000 btime 60000";
// Black may play three moves; a1a2 is none of its.
const char* kRestricted = "G go wtime 60000 btime 60000 searchmoves d7d5 f8c5 e8e7 a1a2";
const char* kTwentyMoves =
    "G position startpos moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 "
    "f6g8 "
    "g1f3 g8f6 f3g1 f6g8";
// The engine knows the game up to e7e5 and plays on from it.
const Lines kGameUnderway = {kAfterE4, kClock, "E move e7e5", "G position startpos moves e2e4 e7e5 g1f3"};

Lines Then(Lines first, const std::string& line) {
    first.push_back(line);
    return first;
}

Setup Levels(int type, LevelExtendMode extend) {
    return [=](EngineDialogue& d) {
        d.settings.LevelType = type;
        d.settings.LevelExtend = extend;
    };
}

// Every "go" form, the first search of a game.
INSTANTIATE_TEST_SUITE_P(
    GoForms, TranslationTable,
    ::testing::Values(
        Row{"Clock",
            {},
            {kAfterE4, kClock},
            Fresh({"level 0 1 0", "e2e4", "time 6000", "otim 6000", "go"}),
            kStart},
        Row{"Increment",
            {},
            {kAfterE4, "G go wtime 60000 btime 90000 winc 2000 binc 3000"},
            Fresh({"level 0 1 3", "e2e4", "time 9000", "otim 6000", "go"}),
            kStart},
        Row{"MovesToGo",
            {},
            {kAfterE4, "G go wtime 60000 btime 60000 movestogo 40"},
            Fresh({"level 40 1 0", "e2e4", "time 6000", "otim 6000", "go"}),
            kStart},
        Row{"UnderAMinute",
            {},
            {kAfterE4, "G go wtime 30000 btime 30000"},
            Fresh({"level 0 0:30 0", "e2e4", "time 3000", "otim 3000", "go"}),
            kStart},
        Row{"MoveTime",
            {},
            {kAfterE4, "G go movetime 5000"},
            Fresh({"level 0 1440 0", "e2e4", "st 5", "go"}),
            kStart},
        Row{"Depth", {}, {kAfterE4, "G go depth 7"}, Fresh({"level 0 1440 0", "e2e4", "sd 7", "go"}), kStart},
        Row{"InfiniteAnalyses", {}, {kAfterE4, "G go infinite"}, Fresh({"e2e4", "analyze"}), kStart},
        Row{"InfiniteWithoutAnalyzeSearchesADay",
            [](EngineDialogue& d) { d.settings.Analyze = false; },
            {kAfterE4, "G go infinite"},
            Fresh({"level 0 1440 0", "e2e4", "time 864000", "otim 864000", "go"}),
            kStart},
        Row{"PonderOnlyLetsTheEnginePonder",
            {},
            {kAfterE4, "G go ponder wtime 60000 btime 60000"},
            {"hard"},
            kStart},
        Row{"SearchMovesAreSkipped",
            {},
            {kAfterE4, "G go wtime 60000 btime 60000 searchmoves e7e5 d7d5"},
            Fresh({"level 0 1 0", "e2e4", "time 6000", "otim 6000", "go"}),
            kStart},
        Row{"SearchMovesBecomeAnExclusionList",
            [](EngineDialogue& d) { d.features.exclude = true; },
            Then(kGameUnderway, kRestricted),
            {"force", "g1f3", "exclude all", "include d7d5", "include f8c5", "include e8e7", "time 6000",
             "otim 6000", "go"},
            kStart},
        Row{"AMoveOutsideTheSearchMovesIsNeverAnswered",
            [](EngineDialogue& d) { d.features.exclude = true; },
            Then(Then(kGameUnderway, kRestricted), "E move b8c6"),
            {},
            {"bestmove d7d5"}},
        Row{"TheNextSearchLiftsTheExclusionsFirst",
            [](EngineDialogue& d) { d.features.exclude = true; },
            Then(Then(Then(Then(kGameUnderway, kRestricted), "E move d7d5"),
                      "G position startpos moves e2e4 e7e5 g1f3 d7d5 e4d5"),
                 kClock),
            {"include all", "time 6000", "otim 6000", "e4d5"},
            kStart},

        Row{"NodesAndMateAreSkipped",
            {},
            {kAfterE4, "G go nodes 5000 mate 3 wtime 60000 btime 60000"},
            Fresh({"level 0 1 0", "e2e4", "time 6000", "otim 6000", "go"}),
            kStart},
        Row{"UnderHalfASecondABaseTheEngineAccepts",
            {},
            {"G position startpos", "G go wtime 300 btime 45000"},
            Fresh({"level 0 0:01 0", "time 30", "otim 4500", "go"}),
            kStart},
        Row{"MovesToGoCountsTheMovesPlayed",
            {},
            {kTwentyMoves, "G go wtime 7200000 btime 7200000 movestogo 40"},
            Fresh({"level 50 120 0", "g1f3", "g8f6", "f3g1", "f6g8", "g1f3",        "g8f6",        "f3g1",
                   "f6g8",           "g1f3", "g8f6", "f3g1", "f6g8", "g1f3",        "g8f6",        "f3g1",
                   "f6g8",           "g1f3", "g8f6", "f3g1", "f6g8", "time 720000", "otim 720000", "go"}),
            kStart},
        Row{"BeforeAnyPositionTheStartPosition",
            {},
            {kClock},
            Fresh({"level 0 1 0", "time 6000", "otim 6000", "go"}),
            kStart}),
    RowName);

// The time control by LevelType and LevelExtend: the first search, and a later one whose clock has
// drifted from the engine's (200 s where the engine counted down from 60 s).
INSTANTIATE_TEST_SUITE_P(
    Levels, TranslationTable,
    ::testing::Values(Row{"SetlevelClock",
                          Levels(2, LevelExtendMode::None),
                          {kAfterE4, kClock},
                          Fresh({"setlevel 5 60 0", "e2e4", "time 6000", "otim 6000", "go"}),
                          kStart},
                      Row{"SetlevelMovesToGo",
                          Levels(2, LevelExtendMode::None),
                          {kAfterE4, "G go wtime 60000 btime 60000 movestogo 40"},
                          Fresh({"setlevel 1 40 60 40 60", "e2e4", "time 6000", "otim 6000", "go"}),
                          kStart},
                      Row{"SetlevelDepth",
                          Levels(2, LevelExtendMode::None),
                          {kAfterE4, "G go depth 7"},
                          Fresh({"setlevel 0 99", "e2e4", "setlevel 0 7", "go"}),
                          kStart},
                      Row{"NoneKeepsTheLevel",
                          Levels(1, LevelExtendMode::None),
                          Then(kGameUnderway, "G go wtime 200000 btime 200000"),
                          {"time 20000", "otim 20000", "g1f3"},
                          kStart},
                      Row{"ProgressiveSendsTheTimeLeft",
                          Levels(1, LevelExtendMode::Progressive),
                          Then(kGameUnderway, "G go wtime 200000 btime 200000"),
                          {"level 0 2 0", "time 20000", "otim 20000", "g1f3"},
                          kStart},
                      Row{"ProgressiveKeepsALevelThatHolds",
                          Levels(1, LevelExtendMode::Progressive),
                          Then(kGameUnderway, "G go wtime 59000 btime 59000"),
                          {"time 5900", "otim 5900", "g1f3"},
                          kStart},
                      Row{"StrictCountsMovesFromTheGamesStart",
                          Levels(1, LevelExtendMode::Strict),
                          Then(kGameUnderway, "G go wtime 200000 btime 200000 movestogo 39"),
                          {"level 40 2 0", "time 20000", "otim 20000", "g1f3"},
                          kStart},
                      Row{"FailsafeStartsTheGameAfresh",
                          Levels(1, LevelExtendMode::Failsafe),
                          Then(kGameUnderway, "G go wtime 200000 btime 200000"),
                          Fresh({"level 0 3 0", "e2e4", "e7e5", "g1f3", "time 20000", "otim 20000", "go"}),
                          {"info depth 1 score cp 1", "info depth 1 score cp 1"}}),
    RowName);

const char* kSetUp = "G position fen 4k3/8/8/3pP3/8/8/8/R3K2R w KQ d6 0 1 moves a1a2";
const char* kSetUpGo = "G go depth 3";

Setup Edit(EditMode mode) {
    return [=](EngineDialogue& d) { d.settings.Edit = mode; };
}

// Analysis steps back a move, and the engine refuses to take it back.
const Lines kUndoRefused = {"G position startpos moves e2e4 e7e5",
                            "G go infinite",
                            "G stop",
                            "G position startpos moves e2e4",
                            "G go infinite",
                            "E Error (unknown command): undo",
                            "G stop"};
// Analysis the engine refuses; its untimed search gives the move.
const Lines kAnalyzeRefused = {kAfterE4, "G go infinite", "E Error (unknown command): analyze",
                               "E move e7e5"};

// How a set-up position and the moves reach the engine.
INSTANTIATE_TEST_SUITE_P(
    Transfers, TranslationTable,
    ::testing::Values(
        Row{"Setboard",
            Edit(EditMode::Setboard),
            {kSetUp, kSetUpGo},
            Fresh({"setboard 4k3/8/8/3pP3/8/8/8/R3K2R w KQ d6 0 1", "level 0 1440 0", "a1a2", "sd 3", "go"}),
            kStart},
        Row{"Edit",
            Edit(EditMode::Edit),
            {kSetUp, kSetUpGo},
            Fresh({"new", "edit", "#", "Ra1", "Ke1", "Rh1", "Pe5", "c", "Pd5", "Ke8", "c", "c", ".", "force",
                   "level 0 1440 0", "a1a2", "sd 3", "go"}),
            kStart},
        Row{"CbEdit",
            Edit(EditMode::CbEdit),
            {kSetUp, kSetUpGo},
            Fresh({"new",  "edit", "#",     "Ra1",  "Ke1",   "Rh1",   "Pe5", "c", "Pd5",   "Ke8",
                   "c",    "+w00", "+w000", "-b00", "-b000", "ep d6", "c",   ".", "force", "level 0 1440 0",
                   "a1a2", "sd 3", "go"}),
            kStart},
        Row{"EditWithBlackToMove",
            Edit(EditMode::Edit),
            {"G position fen 4k3/8/8/8/8/8/8/4K2R b K - 0 1", kSetUpGo},
            Fresh({"new", "force", "a2a3", "edit", "#", "Ke1", "Rh1", "c", "Ke8", "c", ".", "force",
                   "level 0 1440 0", "sd 3", "go"}),
            kStart},
        Row{"UsermoveAndSan",
            [](EngineDialogue& d) { d.features.usermove = d.features.san = true; },
            Then(kGameUnderway, kClock),
            {"time 6000", "otim 6000", "usermove Nf3"},
            kStart},
        Row{"PingBeforeTheSearch",
            [](EngineDialogue& d) { d.features.ping = true; },
            Then({kAfterE4, kClock, "E pong 2", "E move e7e5", "G position startpos moves e2e4 e7e5 g1f3"},
                 kClock),
            {"ping 3", "time 6000", "otim 6000", "g1f3"},
            kStart},
        Row{"ColorsBeforeGo",
            [](EngineDialogue& d) { d.features.colors = true; },
            {kAfterE4, kClock},
            Fresh({"level 0 1 0", "e2e4", "time 6000", "otim 6000", "black", "go"}),
            kStart},
        Row{"NoTimeFeatureNoClocks",
            [](EngineDialogue& d) { d.features.time = false; },
            {kAfterE4, kClock},
            Fresh({"level 0 1 0", "e2e4", "go"}),
            kStart},
        Row{"TakenBackMovesAreUndoneInAnalysis",
            {},
            {"G position startpos moves e2e4 e7e5", "G go infinite", "G stop",
             "G position startpos moves e2e4", "G go infinite"},
            {"force", "undo", "analyze"},
            kStart},
        Row{"ARefusedUndoSetsTheNextPositionUpAnew",
            {},
            Then(Then(kUndoRefused, "G position startpos moves e2e4 e7e5"), "G go infinite"),
            Fresh({"e2e4", "e7e5", "analyze"}),
            kStart},
        Row{"ARefusedAnalyzeStartsAnUntimedSearchAtOnce",
            {},
            {kAfterE4, "G go infinite", "E Error (unknown command): analyze"},
            {"level 0 1440 0", "go"},
            {}},
        Row{"AfterARefusedAnalyzeAnalysisIsAnUntimedSearch",
            {},
            Then(Then(kAnalyzeRefused, "G position startpos moves e2e4 e7e5"), "G go infinite"),
            {"time 864000", "otim 864000", "go"},
            kStart},
        Row{"ARefusalSpelledUnkownTeachesAsMuch",
            {},
            {kAfterE4, "G go infinite", "E Error (unkown command): analyze", "E move e7e5",
             "G position startpos moves e2e4 e7e5", "G go infinite"},
            {"time 864000", "otim 864000", "go"},
            kStart},
        Row{"AnotherGameStartsAfresh", {}, Then(kGameUnderway, "G position startpos moves d2d4"), {}, {}}),
    RowName);

// Whether the engine's game goes on or starts afresh: a search compares only the moves a
// "position" may have changed since the engine was told the game.
const char* kE4E5F3 = "G position startpos moves e2e4 e7e5 g1f3";
INSTANTIATE_TEST_SUITE_P(
    EngineGame, TranslationTable,
    ::testing::Values(
        Row{"AGameThatGoesOnGetsTheNewMoveOnly",
            {},
            Then(kGameUnderway, kClock),
            {"time 6000", "otim 6000", "g1f3"},
            kStart},
        Row{"TheSameGameSentAgainGoesOn",
            {},
            Then(Then(kGameUnderway, kE4E5F3), kClock),
            {"time 6000", "otim 6000", "g1f3"},
            kStart},
        Row{"AnotherFirstMoveStartsAfresh",
            {},
            {kAfterE4, kClock, "E move e7e5", "G position startpos moves d2d4 e7e5 g1f3", kClock},
            Fresh({"level 0 1 0", "d2d4", "e7e5", "g1f3", "time 6000", "otim 6000", "go"}),
            kStart},
        Row{"AReplyOtherThanTheEnginesStartsAfresh",
            {},
            {kAfterE4, kClock, "E move e7e5", "G position startpos moves e2e4 e7e6 g1f3", kClock},
            Fresh({"level 0 1 0", "e2e4", "e7e6", "g1f3", "time 6000", "otim 6000", "go"}),
            kStart},
        Row{"AnEarlyMoveChangedAfterTheGameWentOnStartsAfresh",
            {},
            {kAfterE4, kClock, "E move e7e5", kE4E5F3, kClock, "E move b8c6",
             "G position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5",
             "G position startpos moves e2e4 e7e6 g1f3 b8c6 f1b5", kClock},
            Fresh({"level 0 1 0", "e2e4", "e7e6", "g1f3", "b8c6", "f1b5", "time 6000", "otim 6000", "go"}),
            kStart}),
    RowName);

// Chess960 with both kings on b and every rook in its corner, so either side may castle on
// either wing at once.
const char* k960 = "rk5r/pppppppp/8/8/8/8/PPPPPPPP/RK5R w KQkq - 0 1";
const std::string k960Position = std::string("G position fen ") + k960;
const std::string k960Setboard = std::string("setboard ") + k960;
void Chess960(EngineDialogue& d) {
    d.settings.Chess960 = true;
    d.settings.Chess960Variant.Set("fischerandom");
}
Lines Fresh960(Lines then) {
    Lines lines{"force", "new",   "variant fischerandom", "post",       "hard",
                "easy",  "force", k960Setboard,           "level 0 1 0"};
    lines.insert(lines.end(), then.begin(), then.end());
    return lines;
}
Lines Chess960Game(const std::string& moves) { return {k960Position + " moves " + moves, kClock}; }
Lines Chess960Search(const std::string& moves, const std::string& engineLine) {
    return Then(Chess960Game(moves), "E " + engineLine);
}

// Castling between the host and the engine in every form, both wings, both colours.
INSTANTIATE_TEST_SUITE_P(
    Chess960, TranslationTable,
    ::testing::Values(
        Row{"WhiteKingSideGoesToTheEngineAsTheKingTakingItsRook", Chess960, Chess960Game("b1h1"),
            Fresh960({"b1h1", "time 6000", "otim 6000", "go"}), kStart},
        Row{"WhiteQueenSide", Chess960, Chess960Game("b1a1"),
            Fresh960({"b1a1", "time 6000", "otim 6000", "go"}), kStart},
        Row{"BlackKingSide", Chess960, Chess960Game("a2a3 b8h8 a3a4"),
            Fresh960({"a2a3", "b8h8", "a3a4", "time 6000", "otim 6000", "go"}), kStart},
        Row{"BlackQueenSide", Chess960, Chess960Game("a2a3 b8a8 a3a4"),
            Fresh960({"a2a3", "b8a8", "a3a4", "time 6000", "otim 6000", "go"}), kStart},
        Row{"TheHostsKingToItsSquareIsCastlingToo", Chess960, Chess960Game("b1g1"),
            Fresh960({"b1h1", "time 6000", "otim 6000", "go"}), kStart},
        Row{"ASanEngineGetsOO",
            [](EngineDialogue& d) {
                Chess960(d);
                d.features.san = true;
            },
            Chess960Game("a2a3 b8a8 b1h1"), Fresh960({"a3", "O-O-O", "O-O", "time 6000", "otim 6000", "go"}),
            kStart},
        Row{"OOFromTheEngineIsTheKingTakingItsRook",
            Chess960,
            Chess960Search("a2a3", "move O-O"),
            {},
            {"bestmove b8h8"}},
        Row{"OOOFromTheEngine", Chess960, Chess960Search("a2a3", "move O-O-O"), {}, {"bestmove b8a8"}},
        Row{"WhiteOOOFromTheEngine", Chess960, Chess960Search("", "move O-O-O"), {}, {"bestmove b1a1"}},
        Row{"TheEnginesKingTakingItsRook",
            Chess960,
            Chess960Search("a2a3", "move b8h8"),
            {},
            {"bestmove b8h8"}},
        Row{"TheEnginesKingToItsSquare", Chess960, Chess960Search("", "move b1g1"), {}, {"bestmove b1h1"}},
        Row{"AKingStepThatCouldBeCastlingIsAKingStep",
            Chess960,
            Chess960Search("", "move b1c1"),
            {},
            {"bestmove b1c1"}},
        Row{"CastlingInTheVariationAndThePonderMove",
            Chess960,
            Then(Chess960Search("", "5 31 120 4000 O-O O-O-O"), "E move O-O"),
            {},
            {"bestmove b1h1 ponder b8a8"}},
        Row{"CastlingInAThinkingLine",
            Chess960,
            Chess960Search("", "5 31 120 4000 O-O-O b8h8"),
            {},
            {"info depth 5 score cp 31 time 1200 nodes 4000 nps 3333 pv b1a1 b8h8"}},
        Row{"AStandardGameKeepsTheKingsMove",
            [](EngineDialogue& d) { d.settings.Chess960Variant.Set("fischerandom"); },
            Then({"G position fen r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1", kClock}, "E move O-O"),
            {},
            {"bestmove e1g1"}},
        Row{"WithoutAnEngineThatPlaysItUciChess960HasNoEffect",
            [](EngineDialogue& d) { d.settings.Chess960 = true; },
            Then({"G position fen r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1", kClock}, "E move O-O"),
            {},
            {"bestmove e1g1"}}),
    RowName);

// A search's opening line goes out with the engine's first output, in the same write, so that an
// engine that answers at once meets no other writer on the way to the GUI; a search that ends
// without any engine output still gets it first.
using OpeningLineTest = testing_support::DialogueTest;

TEST_F(OpeningLineTest, AnOpeningLineWaitsForTheEnginesFirstOutputAndGoesOutWithIt) {
    std::vector<std::string> writes;
    d.gui.SetSink([&](std::string_view bytes) { writes.emplace_back(bytes); });
    HandleGuiLine(d, "position startpos moves e2e4");
    HandleGuiLine(d, "go wtime 60000 btime 60000");
    EXPECT_TRUE(writes.empty());
    HandleEngineLine(d, "move e7e5");
    EXPECT_EQ(writes, (Lines{"info depth 1 score cp 1\nbestmove e7e5\n"}));
    writes.clear();
    HandleGuiLine(d, "position startpos moves e2e4 e7e5 g1f3");
    HandleGuiLine(d, "go infinite");
    HandleGuiLine(d, "stop");
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front().rfind("info depth 1 score cp 1\n", 0), 0u) << writes.front();
}

const Lines kSearching = {kAfterE4, kClock};
// The engine played e7e5 and announced g1f3, on which the GUI lets it ponder.
const Lines kPondering = {kAfterE4,
                          kClock,
                          "E 5 31 120 4000 e7e5 g1f3",
                          "E move e7e5",
                          "G position startpos moves e2e4 e7e5 g1f3",
                          "G go ponder wtime 60000 btime 60000"};

// What the engine's lines become for the GUI.
INSTANTIATE_TEST_SUITE_P(
    EngineLines, TranslationTable,
    ::testing::Values(
        Row{"MoveAnswersTheSearch", {}, Then(kSearching, "E move e7e5"), {}, {"bestmove e7e5"}},
        Row{"MoveInSanAnswersTheSearch", {}, Then(kSearching, "E move Nf6"), {}, {"bestmove g8f6"}},
        Row{"VariationGivesThePonderMove",
            {},
            Then(Then(kSearching, "E 5 31 120 4000 e7e5 g1f3 b8c6"), "E move e7e5"),
            {},
            {"bestmove e7e5 ponder g1f3"}},
        Row{"ThinkingLine",
            {},
            Then(kSearching, "E 5 31 120 4000 e7e5 g1f3 b8c6"),
            {},
            {"info depth 5 score cp 31 time 1200 nodes 4000 nps 3333 pv e7e5 g1f3 b8c6"}},
        Row{"SelectiveDepthSpeedAndTableHits",
            {},
            Then(kSearching, "E 5 31 120 4000 9 250000 17 e7e5 g1f3"),
            {},
            {"info depth 5 seldepth 9 score cp 31 time 1200 nodes 4000 nps 250000 tbhits 17 pv e7e5 g1f3"}},
        Row{"FieldsBeforeATabAreThoseThatAreThere",
            {},
            Then(kSearching, "E 5 31 120 4000 9\t1. ... e7e5"),
            {},
            {"info depth 5 seldepth 9 score cp 31 time 1200 nodes 4000 nps 3333 pv e7e5"}},
        Row{"AMoveBesideTheLastVariationGetsAClosingLine",
            {},
            Then(Then(kSearching, "E 5 31 120 4000 e7e5 g1f3"), "E move c7c5"),
            {},
            {"info depth 5 score cp 31 pv c7c5", "bestmove c7c5"}},
        Row{"WhiteScoreTurnsBlacksScore",
            [](EngineDialogue& d) { d.settings.WhiteScore = true; },
            Then(kSearching, "E 5 31 120 4000 e7e5"),
            {},
            {"info depth 5 score cp -31 time 1200 nodes 4000 nps 3333 pv e7e5"}},
        Row{"WhiteScoreWhilePonderingTurnsBlacksScore",
            [](EngineDialogue& d) { d.settings.WhiteScore = true; },
            Then(Then(kPondering, "E Hint: g1f3"), "E 6 20 150 5000 b8c6 f1b5"),
            {},
            {"info depth 6 score cp -20 time 1500 nodes 5000 nps 3333 pv b8c6 f1b5"}},
        Row{"IllegalMoveIsAnsweredByTheAdapter",
            {},
            Then(kSearching, "E move e2e4"),
            {},
            {"info string illegal engine move move e2e4", "bestmove a7a6"}},
        Row{"ResignAnswersTheSearch",
            {},
            Then(kSearching, "E resign"),
            {"result 1-0"},
            {"info string resign", "bestmove a7a6"}},
        Row{"DrawClaimAnswersTheSearch",
            {},
            Then(kSearching, "E 1/2-1/2 {repetition}"),
            {},
            {"info string 1/2-1/2 {repetition}", "bestmove a7a6"}},
        Row{"MoveOutsideASearchIsDropped", {}, {kAfterE4, kClock, "E move e7e5", "E move g8f6"}, {}, {}},
        Row{"FeaturesAreAccepted",
            {},
            {"E feature ping=1 myname=\"X\" done=1"},
            {"accepted ping", "accepted myname", "accepted done"},
            {}},
        Row{"PonderLineBeginningWithThePonderedMove",
            {},
            Then(kPondering, "E 6 20 150 5000 g1f3 b8c6 f1b5"),
            {},
            {"info depth 6 score cp 20 time 1500 nodes 5000 nps 3333 pv b8c6 f1b5"}},
        Row{"PonderLineAfterThePonderedMoveNeedsTheHint",
            {},
            Then(kPondering, "E 6 20 150 5000 b8c6 f1b5"),
            {},
            {"info depth 6 score cp 20 time 1500 nodes 5000 nps 3333"}},
        Row{"HintNamesThePonderedMove",
            {},
            Then(Then(kPondering, "E Hint: g1f3"), "E 6 20 150 5000 b8c6 f1b5"),
            {},
            {"info depth 6 score cp 20 time 1500 nodes 5000 nps 3333 pv b8c6 f1b5"}},
        Row{"SimulateHintTakesTheAnnouncedPonderMove",
            [](EngineDialogue& d) { d.settings.SimulateHint = true; },
            Then(kPondering, "E 6 20 150 5000 b8c6 f1b5"),
            {},
            {"info depth 6 score cp 20 time 1500 nodes 5000 nps 3333 pv b8c6 f1b5"}}),
    RowName);

struct EffectRow {
    const char* name;
    const char* setOption;
    Lines toEngine;
};

void PrintTo(const EffectRow& row, std::ostream* out) { *out << row.name; }

class SettingEffectsTable : public testing_support::DialogueTest,
                            public ::testing::WithParamInterface<EffectRow> {};

// What setting an option does to a running engine.
TEST_P(SettingEffectsTable, ARunningEngineHearsOfTheSetting) {
    d.settings.HashCommand.Set("memory %i");
    HandleGuiLine(d, std::string("setoption name ") + GetParam().setOption);
    EXPECT_EQ(engine.Take(), GetParam().toEngine);
}

INSTANTIATE_TEST_SUITE_P(Options, SettingEffectsTable,
                         ::testing::Values(EffectRow{"Hash", "Hash value 64", {"memory 64"}},
                                           EffectRow{"HashUnchanged", "Hash value 2", {}},
                                           EffectRow{"HashFormula", "HashFormula value HASH*2", {}},
                                           EffectRow{"NoiseOff", "Noise value -1", {"nopost"}},
                                           EffectRow{"Ponder", "Ponder value false", {"hard", "easy"}},
                                           EffectRow{"PonderAsked", "Ponder value true", {"hard"}},
                                           EffectRow{"Computer", "Computer value true", {"computer"}},
                                           EffectRow{"ComputerOff", "Computer value false", {}},
                                           EffectRow{"CustomOptionOfTheEngine", "Style value Wild", {}},
                                           EffectRow{"Delay", "Delay value 5", {}}),
                         [](const ::testing::TestParamInfo<EffectRow>& info) {
                             return std::string(info.param.name);
                         });

class RunningEngineTest : public testing_support::DialogueTest {};

TEST_F(RunningEngineTest, SlowDownChangedWhileTheEngineRunsChangesTheBusyThreads) {
    HandleGuiLine(d, "setoption name SlowDown value 3");
    EXPECT_EQ(d.spinThreads.Count(), 2);
    HandleGuiLine(d, "setoption name SlowDown value 1");
    EXPECT_EQ(d.spinThreads.Count(), 0);
    engine.exists = false;
    HandleGuiLine(d, "setoption name SlowDown value 4");
    EXPECT_EQ(d.spinThreads.Count(), 0);
}

// Without Delay a search's commands go in one write; with it, each waits its pause alone, and a
// text of several lines waits one pause.
TEST_F(RunningEngineTest, DelayPausesBeforeEveryLine) {
    HandleGuiLine(d, "position startpos moves e2e4");
    HandleGuiLine(d, "go depth 3");
    EXPECT_EQ(engine.Writes(), 7);  // the reset's six lines one by one, then the rest at once
    HandleGuiLine(d, "setoption name Delay value 1");
    HandleEngineLine(d, "move e7e5");
    engine.Take();
    int before = engine.Writes();
    HandleGuiLine(d, "position startpos moves e2e4 e7e5 g1f3");
    HandleGuiLine(d, "go depth 3");
    EXPECT_EQ(engine.Take(), (Lines{"sd 3", "g1f3"}));
    EXPECT_EQ(engine.Writes() - before, 2);
    // A set-up sequence is one text: one pause, one write.
    before = engine.Writes();
    SendToEngine(d, "new\nedit\n#\nKe1\n.\n");
    EXPECT_EQ(engine.Take(), (Lines{"new", "edit", "#", "Ke1", "."}));
    EXPECT_EQ(engine.Writes() - before, 1);
}

}  // namespace
}  // namespace pontax
