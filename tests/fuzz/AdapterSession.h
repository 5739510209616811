#pragma once

#include <string>
#include <vector>

#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/ScriptedEngine.h"

namespace fuzzing {

// What one dialogue sent: the GUI's lines and the adapter's answers ("> " and "< "), and the lines
// the engine read.
struct Transcript {
    std::vector<std::string> gui;
    std::vector<std::string> engine;
};

// The whole adapter in this process, made afresh for every dialogue: GUI lines go to the command
// loop as the GUI reader would hand them over, the engine is the scripted one on a thread, and
// every line the adapter sends to the GUI passes a strict host's checks. Each dialogue starts with
// every option at its default and ends with "quit".
class AdapterSession {
public:
    static AdapterSession& Instance();

    // Runs one dialogue up to its first "quit" and aborts, naming every fault, when a strict host
    // would have refused a line. As a host does, it stops a search still outstanding before the
    // next position, search or quit. Protocol 1 skips the version 2 greeting's pause. The
    // configuration file's own keys ("MateScores=1", ...) are set first.
    Transcript Run(const std::vector<std::string>& guiLines, const EngineScript& script, int protocol,
                   const std::vector<std::string>& fileKeys = {});

private:
    AdapterSession();
};

}  // namespace fuzzing
