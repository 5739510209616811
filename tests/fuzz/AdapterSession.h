#pragma once

#include <string>
#include <vector>

#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/ScriptedEngine.h"

namespace fuzzing {

// The whole adapter in this process: GUI lines go to the command loop as the GUI reader would hand
// them over, the engine is the scripted one on a thread, and every line the adapter sends to the
// GUI passes a strict host's checks. The adapter's state is process-wide, so there is one session
// per process; each dialogue starts with every option at its default and ends with "quit".
class AdapterSession {
public:
    static AdapterSession& Instance();

    // Runs one dialogue up to its first "quit" and aborts, naming every fault, when a strict host
    // would have refused a line. As a host does, it stops a search still outstanding before the
    // next position, search or quit. Protocol 1 skips the version 2 greeting's pause. The
    // configuration file's own keys ("MateScores=1", ...) are set first.
    void Run(const std::vector<std::string>& guiLines, const EngineScript& script, int protocol,
             const std::vector<std::string>& fileKeys = {});

private:
    AdapterSession();

    EngineScript script_;
};

}  // namespace fuzzing
