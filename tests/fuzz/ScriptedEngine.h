#pragma once

#include <string>
#include <vector>

namespace fuzzing {

// What the in-process engine says besides its normal answers: the fuzzed part of a dialogue.
struct EngineScript {
    // Written after "protover 2", before "feature done=1" (which always follows, so the adapter
    // never waits out its feature minute).
    std::vector<std::string> greeting;
    // Written when a search or an analysis starts, before the engine's own thinking line.
    std::vector<std::string> onSearch;
    // A search waits for "?" (or the end of input) before the engine moves.
    bool waitForMoveNow = false;
};

// An xboard engine on the adapter's own board: it follows "new", "setboard", the edit commands,
// "usermove", bare moves, "undo" and "remove", answers "ping", and plays its first legal move (or
// announces the result when there is none) whenever it is on move outside force mode. Reads
// `input` until "quit" or its end, adding each line it reads to `received` when given.
void RunScriptedEngine(int input, int output, const EngineScript& script,
                       std::vector<std::string>* received = nullptr);

}  // namespace fuzzing
