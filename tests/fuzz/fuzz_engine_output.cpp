// Engine output into the output translation while the adapter searches, ponders or analyses. An
// input's first line picks the situation ("<scenario> <position> <keys>"); the lines up to one reading
// "--" are written after "protover 2", the rest whenever a search or an analysis starts.
#include <cstdio>

#include "tests/fuzz/AdapterSession.h"

namespace {

const char* const kPositions[] = {
    "startpos",
    "startpos moves e2e4 c7c5 g1f3",
    "fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",     // mate in one
    "fen 8/P5k1/8/8/8/8/6Kp/8 b - - 0 1",            // promotions for both sides
    "fen r3k2r/8/8/3pP3/8/8/8/R3K2R w KQkq d6 0 1",  // castling and en passant
};

// The GUI's side of each situation, after "uci", "isready" and the position.
const std::vector<std::vector<std::string>> kScenarios = {
    {"go wtime 60000 btime 60000 winc 1000 binc 1000"},
    {"go ponder wtime 60000 btime 60000", "ponderhit"},
    {"go ponder wtime 60000 btime 60000", "stop"},
    {"go infinite", "stop"},
    {"setoption name Analyze value false", "go infinite", "stop"},
    {"go movetime 100", "stop"},
    {"setoption name ShowThinkingMove value true", "go depth 5", "stop"},
    {"go wtime 60000 btime 60000", "stop", "go wtime 60000 btime 60000"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines = fuzzing::SplitLines(data, size);
    if (lines.empty()) return 0;
    unsigned scenario = 0, position = 0, keys = 0;
    std::sscanf(lines.front().c_str(), "%u %u %u", &scenario, &position, &keys);
    fuzzing::EngineScript script;
    bool greeting = true;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (greeting && lines[i] == "--")
            greeting = false;
        else
            (greeting ? script.greeting : script.onSearch).push_back(lines[i]);
    }
    // Odd positions wait for "?" before the engine moves, so the GUI's stop meets a searching engine.
    script.waitForMoveNow = scenario % 2 == 1;
    std::vector<std::string> gui = {"uci", "isready",
                                    std::string("position ") + kPositions[position % std::size(kPositions)]};
    const auto& steps = kScenarios[scenario % kScenarios.size()];
    gui.insert(gui.end(), steps.begin(), steps.end());
    // The third number switches on the configuration file's own keys, one bit each.
    std::vector<std::string> fileKeys;
    if (keys & 1) fileKeys.push_back("MateScores=1");
    if (keys & 2) fileKeys.push_back("MateBand=10000");
    if (keys & 4) fileKeys.push_back("EngineOptions=1");
    if (keys & 8) fileKeys.push_back("ClockMargin=50");
    fuzzing::AdapterSession::Instance().Run(gui, script, 2, fileKeys);
    return 0;
}
