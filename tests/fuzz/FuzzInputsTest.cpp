// A fuzz input means the same dialogue whatever ran before it in the process: each gets a fresh
// adapter, so nothing an earlier input set (options, features, positions, the last time control,
// "quit") reaches it.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/fuzz/AdapterSession.h"

namespace fuzzing {
namespace {

// Times and speeds differ from run to run; every other field must not.
std::vector<std::string> WithoutTimes(std::vector<std::string> lines) {
    static const std::regex timed(" (time|nps) [0-9]+");
    for (auto& line : lines) line = std::regex_replace(line, timed, " $1 _");
    return lines;
}

Transcript RunInput(const std::vector<std::string>& gui, const std::vector<std::string>& fileKeys = {},
                    const EngineScript& script = {}) {
    Transcript transcript = AdapterSession::Instance().Run(gui, script, 2, fileKeys);
    transcript.gui = WithoutTimes(transcript.gui);
    transcript.engine = WithoutTimes(transcript.engine);
    return transcript;
}

const std::vector<std::string> kGame = {"uci", "isready", "position startpos moves e2e4",
                                        "go wtime 60000 btime 60000"};

// Inputs that leave every kind of state behind them.
void RunOthers() {
    RunInput(
        {"uci", "setoption name Ponder value false", "setoption name Noise value -1",
         "setoption name LevelExtend value Failsafe", "setoption name Edit value cb-edit", "isready",
         "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4", "go movetime 100"},
        {"MateScores=1", "EngineOptions=1", "ClockMargin=50"},
        EngineScript{
            {"feature usermove=1 san=1 ping=1 colors=1 time=0 option=\"Style -combo A /// B\""}, {}, false});
    RunInput(
        {"uci", "isready", "position startpos moves d2d4 d7d5", "go ponder wtime 1000 btime 1000", "quit"});
}

TEST(FuzzInputsTest, AnInputGivesTheSameDialogueAloneAndAfterOthers) {
    Transcript alone = RunInput(kGame);
    ASSERT_FALSE(alone.engine.empty());
    RunOthers();
    Transcript after = RunInput(kGame);
    EXPECT_EQ(after.gui, alone.gui);
    EXPECT_EQ(after.engine, alone.engine);
}

}  // namespace
}  // namespace fuzzing
